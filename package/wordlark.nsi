; Wordlark's per-user installer and its uninstaller.
;   makensis -DVERSION=2.61.0.1 -DDIST=/path/to/dist -DOUTFILE=setup.exe [-DICON=x.ico] wordlark.nsi
; scripts/package.sh passes these from the release build.
; The file is UTF-8 with a byte order mark, for the Russian texts.

!ifndef VERSION | DIST | OUTFILE
  !error "define VERSION, DIST and OUTFILE on the makensis command line"
!endif

Unicode true
Target amd64-unicode
RequestExecutionLevel user
SetCompressor /SOLID lzma
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include nsDialogs.nsh

!define PRODUCT "Wordlark"
!define PUBLISHER "Orrin Softworks"
!define PRODUCT_KEY "Software\Orrin Softworks\Wordlark"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Wordlark"
; The program's own "Start with Windows" value: "<path> /autoload", the path
; not quoted, just as Wordlark writes it from its tray menu.
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "Wordlark"
; The running copy holds this event open for as long as it runs.
!define INSTANCE_EVENT "9DDB575E-846B-4600-880F-98319D699611"
; How long to wait for a running copy to end after "/exit", in 100 ms steps.
!define EXIT_WAIT_STEPS 100
; How long to wait for the hook library to be let go of, in 100 ms steps.
!define UNLOAD_WAIT_STEPS 150

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Wordlark"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "${PUBLISHER}"

!ifdef ICON
  !define MUI_ICON "${ICON}"
  !define MUI_UNICON "${ICON}"
!endif
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\Wordlark.exe"
!define MUI_FINISHPAGE_RUN_TEXT "$(StartNow)"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
UninstPage custom un.UserDataPage un.UserDataLeave
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Russian"

LangString ProgramSection ${LANG_ENGLISH} "Wordlark"
LangString ProgramSection ${LANG_RUSSIAN} "Wordlark"
LangString AutostartSection ${LANG_ENGLISH} "Start Wordlark with Windows"
LangString AutostartSection ${LANG_RUSSIAN} "Запускать Wordlark вместе с Windows"
LangString StartNow ${LANG_ENGLISH} "Start Wordlark now"
LangString StartNow ${LANG_RUSSIAN} "Запустить Wordlark сейчас"
LangString UserDataTitle ${LANG_ENGLISH} "Your phrases and history"
LangString UserDataTitle ${LANG_RUSSIAN} "Ваши фразы и история"
LangString UserDataSubtitle ${LANG_ENGLISH} "Choose whether to keep what you made with Wordlark."
LangString UserDataSubtitle ${LANG_RUSSIAN} "Выберите, сохранить ли то, что вы создали в Wordlark."
LangString UserDataText ${LANG_ENGLISH} "Your phrases, clipboard history and settings stay in $INSTDIR, so that a later installation finds them again."
LangString UserDataText ${LANG_RUSSIAN} "Ваши фразы, история буфера обмена и настройки останутся в $INSTDIR, и следующая установка найдёт их снова."
LangString RemoveUserData ${LANG_ENGLISH} "Also remove my phrases and history"
LangString RemoveUserData ${LANG_RUSSIAN} "Удалить также мои фразы и историю"

; Asks a running Wordlark to end and waits until it has, or the time is up.
; "/exit" reaches the copy running from any folder; without one it ends at once.
!macro EndRunningCopy un
Function ${un}EndRunningCopy
  ${IfNot} ${FileExists} "$INSTDIR\Wordlark.exe"
    Return
  ${EndIf}
  ExecWait '"$INSTDIR\Wordlark.exe" /exit'
  StrCpy $1 0
  ${Do}
    System::Call 'kernel32::OpenEventW(i 0x00100000, i 0, w "${INSTANCE_EVENT}") p.r0'
    ${If} $0 == 0
      ${Break}
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p r0)'
    IntOp $1 $1 + 1
    ${If} $1 >= ${EXIT_WAIT_STEPS}
      DetailPrint "Wordlark is still running"
      ${Break}
    ${EndIf}
    Sleep 100
  ${Loop}
  ; The instance event goes before the process does, which still holds its
  ; executable while it saves what it must: wait until the file is free.
  StrCpy $1 0
  ${Do}
    ClearErrors
    FileOpen $2 "$INSTDIR\Wordlark.exe" a
    ${IfNot} ${Errors}
      FileClose $2
      ${Break}
    ${EndIf}
    IntOp $1 $1 + 1
    ${If} $1 >= ${EXIT_WAIT_STEPS}
      DetailPrint "Wordlark.exe is still in use"
      ${Break}
    ${EndIf}
    Sleep 100
  ${Loop}
FunctionEnd
!macroend
!insertmacro EndRunningCopy ""
!insertmacro EndRunningCopy "un."

; The hook library stays loaded in other programs (Explorer among them) for a
; few seconds after Wordlark has ended, and a loaded library cannot be
; replaced or deleted. Waits for it to go; past the time it is moved aside,
; and the next installation or uninstallation removes it.
!macro RemoveHookLibrary un
Function ${un}RemoveHookLibrary
  Delete "$INSTDIR\Wordlark.dll.old"
  StrCpy $1 0
  ${Do}
    Delete "$INSTDIR\Wordlark.dll"
    ${IfNot} ${FileExists} "$INSTDIR\Wordlark.dll"
      Return
    ${EndIf}
    IntOp $1 $1 + 1
    ${If} $1 >= ${UNLOAD_WAIT_STEPS}
      ${Break}
    ${EndIf}
    Sleep 100
  ${Loop}
  Rename "$INSTDIR\Wordlark.dll" "$INSTDIR\Wordlark.dll.old"
FunctionEnd
!macroend
!insertmacro RemoveHookLibrary ""
!insertmacro RemoveHookLibrary "un."

Section "$(ProgramSection)" SecProgram
  SectionIn RO
  SetShellVarContext current
  Call EndRunningCopy
  Call RemoveHookLibrary

  SetOutPath "$INSTDIR"
  SetOverwrite on
  File "${DIST}\Wordlark.exe"
  File "${DIST}\Wordlark.dll"
  File "${DIST}\WordlarkEditor.exe"
  File "${DIST}\*.lng"
  File "${DIST}\*.wav"
  ; The sample library is the user's to edit: a file goes in only where none
  ; of that name is, so an upgrade never replaces a phrase the user changed.
  SetOverwrite off
  File /r "${DIST}\UserPhrases"
  SetOverwrite on

  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Wordlark.lnk" "$INSTDIR\Wordlark.exe"
  CreateShortcut "$SMPROGRAMS\Wordlark Phrase Editor.lnk" "$INSTDIR\WordlarkEditor.exe"

  WriteRegStr HKCU "${PRODUCT_KEY}" "FromInstaller" "${VERSION}"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Wordlark.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "$(AutostartSection)" SecAutostart
  WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" "$INSTDIR\Wordlark.exe /autoload"
SectionEnd

; --- Uninstaller ------------------------------------------------------------

Var RemoveUserData
Var RemoveCheckbox

Function un.onInit
  StrCpy $RemoveUserData ${BST_UNCHECKED}
FunctionEnd

Function un.UserDataPage
  !insertmacro MUI_HEADER_TEXT "$(UserDataTitle)" "$(UserDataSubtitle)"
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 36u "$(UserDataText)"
  Pop $0
  ${NSD_CreateCheckbox} 0 44u 100% 12u "$(RemoveUserData)"
  Pop $RemoveCheckbox
  ${NSD_SetState} $RemoveCheckbox $RemoveUserData
  nsDialogs::Show
FunctionEnd

Function un.UserDataLeave
  ${NSD_GetState} $RemoveCheckbox $RemoveUserData
FunctionEnd

Section "Uninstall"
  SetShellVarContext current
  Call un.EndRunningCopy
  Call un.RemoveHookLibrary

  Delete "$INSTDIR\Wordlark.exe"
  Delete "$INSTDIR\WordlarkEditor.exe"
  Delete "$INSTDIR\*.lng"
  Delete "$INSTDIR\*.wav"
  Delete "$INSTDIR\Uninstall.exe"
  ${If} $RemoveUserData == ${BST_CHECKED}
    RMDir /r "$INSTDIR\UserPhrases"
    RMDir /r "$INSTDIR\ClipboardHistory"
    Delete "$INSTDIR\Settings.ini"
    Delete "$INSTDIR\LogReport.txt"
  ${EndIf}
  ; Only when nothing of the user's is left in it.
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\Wordlark.lnk"
  Delete "$SMPROGRAMS\Wordlark Phrase Editor.lnk"

  ; A "Start with Windows" value that names another copy of the program is
  ; that copy's, not ours.
  ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
  StrLen $1 "$INSTDIR\Wordlark.exe"
  StrCpy $0 $0 $1
  ${If} $0 == "$INSTDIR\Wordlark.exe"
    DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${EndIf}

  DeleteRegValue HKCU "${PRODUCT_KEY}" "FromInstaller"
  DeleteRegKey /ifempty HKCU "${PRODUCT_KEY}"
  DeleteRegKey /ifempty HKCU "Software\Orrin Softworks"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
