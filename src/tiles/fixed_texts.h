// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Every text the window shows of its own, in Bulgarian, UTF-8. Line ends in the report box
// are CR LF.

inline constexpr char kCaption[] = "Рисуване - плочки на домино";
inline constexpr char kHeading[] = " Рисуване - плочка от играта Домино";
inline constexpr char kClearCaption[] = "Изтрий";
inline constexpr char kPrompt[] = "Изберете плочка!";

// "плачки" and the double blank before the dash in the fourth line are the author's own and
// are kept as written.
inline constexpr char kDescription[] =
    "Играта Домино има над 3000 годишна история. Пренесена е от далечен Китай и има ред "
    "разновидности. В Европа се играе с 28 плочки, а в Китай с 32. В китайския вариант са "
    "премахнати 7-те плочки с нулев брой точки и 11 броя от останалите се повтарят.\r\n"
    "Да се реализира проект представящ междупредметни връзки Рисуване и Информатика.\r\n"
    "Тема на проекта: Рисуване - плочка от играта Домино.\r\n"
    "Проектът генерира в списъчно поле 28 вида плачки  - номерата са от вида х:у. При "
    "посочване на конкретен ред се извежда съобщение в текстово поле. Текстът е:\r\n"
    "Избраната плочка е симетрична - ако има равен брой точки в двете половини на "
    "плочката\r\n"
    "Плочката може да се разглежда и като ... - извежда се огледално изписаното "
    "съдържание.\r\n"
    "В отделно графично поле се изчертава избраната плочка.\r\n";

// What screen readers say of the controls, and of what a pick draws ("2 точки в горната
// половина и 5 точки в долната"); %1 and %2 are filled in.
inline constexpr char kReportName[] = "Съобщение";
inline constexpr char kListName[] = "Плочки на доминото";
inline constexpr char kClearDescription[] = "Премахва избора и изчиства рисунката";
inline constexpr char kTileName[] = "Рисунка на плочката";
inline constexpr char kNoTileDescription[] = "Не е избрана плочка.";
inline constexpr char kPhotoName[] = "Снимка на плочки от домино";
inline constexpr char kOnePip[] = "1 точка";
inline constexpr char kPips[] = "%1 точки";
inline constexpr char kHalves[] = "%1 в горната половина и %2 в долната";
inline constexpr char kTileDescription[] = "Плочка %1: %2.";
