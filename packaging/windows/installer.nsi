# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
# The installer: for the current user only, so a pupil's account without administrator
# rights can install it. Windows 10 or 11, 64-bit, like the program. makensis -INPUTCHARSET UTF8 -DVERSION= -DPROGRAM= -DLICENSE= -DICON=
# -DOUTFILE= installer.nsi

# 64-bit like the program: it runs where the program runs, and Wine needs no 32-bit part.
Target amd64-unicode
SetCompressor /SOLID lzma
!include "MUI2.nsh"
!include "WinVer.nsh"

!define NAME "Плочки на домино"
!define APP_ID "bg.domino_tiles.DominoTiles"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP_ID}"
!define SHORTCUT "$SMPROGRAMS\${NAME}.lnk"

Name "${NAME}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\domino-tiles"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1026 "ProductName" "${NAME}"
VIAddVersionKey /LANG=1026 "FileDescription" "${NAME}: инсталиране"
VIAddVersionKey /LANG=1026 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1026 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1026 "LegalCopyright" "© 2026 The domino-tiles authors. GNU GPL 3.0 or later."

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\domino-tiles.exe"
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Bulgarian"

# Rather than install a program that cannot start: Qt 6 needs Windows 10.
Function .onInit
    ${IfNot} ${AtLeastWin10}
        MessageBox MB_ICONSTOP "«${NAME}» работи на Windows 10 или 11, 64-битова версия." /SD IDOK
        # ERROR_OLD_WIN_VERSION
        SetErrorLevel 1150
        Quit
    ${EndIf}
FunctionEnd

Section
    SetShellVarContext current
    SetOutPath "$INSTDIR"
    File "/oname=domino-tiles.exe" "${PROGRAM}"
    File "/oname=LICENSE.txt" "${LICENSE}"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "${SHORTCUT}" "$INSTDIR\domino-tiles.exe" "" "$INSTDIR\domino-tiles.exe" 0

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\domino-tiles.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "The domino-tiles authors"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    SetShellVarContext current
    Delete "${SHORTCUT}"
    Delete "$INSTDIR\domino-tiles.exe"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\uninstall.exe"
    # Only if empty: never remove what the user put there.
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
