// <windows.h> for the win32 layer. The platform interfaces name their methods
// after the calls they stand for (CreateEvent, DeleteFile, MessageBox, ...),
// which <windows.h> defines as macros for their ...W forms. A method would then
// be called by one name in files that see the macros and declared by another
// in files that do not. The layer calls the ...W functions by their full names.
#pragma once

#include <windows.h>
// After <windows.h>, which it needs.
#include <shellapi.h>
#include <mmsystem.h>

#undef BroadcastSystemMessage
#undef CreateDirectory
#undef CreateEvent
#undef CreateMutex
#undef DeleteFile
#undef GetDriveType
#undef MessageBox
#undef OpenEvent
#undef PlaySound
#undef PostMessage
#undef RemoveDirectory
#undef SendMessage
#undef SendMessageTimeout
#undef ShellExecute

// The common controls' macros (ListView_..., TreeView_...) send through SNDMSG,
// which <commctrl.h> defines as SendMessage unless it is defined already.
#undef SNDMSG
#define SNDMSG ::SendMessageW
