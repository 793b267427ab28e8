// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The program imports some Windows DLLs that are not KnownDLLs (dwmapi, UxTheme, VERSION, ...).
// Windows looks for those in the .exe's own folder first, so any DLL of the same name lying
// beside the program in Downloads would run inside it. They are delay-loaded instead, and this
// hook loads each one from System32 alone. GNU ld has no --dependent-load-flag to do the same.
#include <cstdint>
#include <windows.h>
// After windows.h, whose types it uses.
#include <delayimp.h>

namespace {

FARPROC WINAPI loadFromSystem32(unsigned notification, PDelayLoadInfo info)
{
    if (notification != dliNotePreLoadLibrary)
        return nullptr;
    const HMODULE module = LoadLibraryExA(info->szDll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Returning nothing would let the loader search the program's folder after all.
    if (module == nullptr)
        FatalAppExitA(0, info->szDll);
    return reinterpret_cast<FARPROC>(reinterpret_cast<std::uintptr_t>(module));
}

} // namespace

extern "C" {
PfnDliHook __pfnDliNotifyHook2 = loadFromSystem32;
}
