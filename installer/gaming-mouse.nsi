; Installer of the 7741 Gaming Mouse suite. Built by installer/CMakeLists.txt:
;
;   makensis -DGM_VERSION=x.y.z -DGM_PUBLISHER=... -DGM_PAYLOAD=DIR -DGM_PICTURES=DIR
;            -DGM_ICON=FILE -DGM_OUTFILE=FILE -DGM_MONITOR_TITLE=... -DGM_OPTION_TITLE=...
;            -DGM_MONITOR_MUTEX=... -DGM_OPTION_MUTEX=... gaming-mouse.nsi
;
; Per user: the programs keep the profiles in config\ beside them, so the folder
; must be writable by the user who runs them; a folder under Program Files would
; not be. Nothing here needs administrator rights.
;
; Command line (besides NSIS's own /S and /D=DIR):
;   /VIRTUALMOUSE=1   install the virtual mouse as devio.dll (a demo without the mouse)
;   /VIRTUALMOUSE=0   install the real HID library (the default, unless the install
;                     being upgraded had the virtual mouse)
;
; Exit codes: 0 done, 1 cancelled by the user, 2 aborted, 3 the running programs
; did not close, 4 files could not be removed (uninstaller), 5 the folder is not
; writable, 6 another Setup or Uninstall of the suite is running.

Unicode true
Target amd64-unicode
RequestExecutionLevel user
ManifestDPIAware true
SetCompressor /SOLID lzma
; A locked file must stop the install, never be skipped and leave an old program
; beside new ones (silent installs would choose Ignore).
AllowSkipFiles off

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh
!include WinMessages.nsh

!define PRODUCT "7741 Gaming Mouse"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\GamingMouse7741"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "7741 Gaming Mouse"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"
; Long enough for a download to the mouse to finish, which the Monitor waits for
; before it ends.
!define CLOSE_TIMEOUT_MS 15000
!define CLOSE_STEP_MS 250

Name "${PRODUCT}"
Caption "${PRODUCT} ${GM_VERSION} Setup"
UninstallCaption "${PRODUCT} ${GM_VERSION} Uninstall"
BrandingText "${PRODUCT} ${GM_VERSION}"
OutFile "${GM_OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
; An upgrade goes where the suite is, so that it finds its profiles again.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${GM_VERSION}.0"
VIFileVersion "${GM_VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "ProductVersion" "${GM_VERSION}"
VIAddVersionKey "FileVersion" "${GM_VERSION}"
VIAddVersionKey "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey "CompanyName" "${GM_PUBLISHER}"
VIAddVersionKey "LegalCopyright" "${GM_PUBLISHER}"

Var LogonDefault     ; 1: start the Monitor at logon unless the user says otherwise
Var MonitorWasRunning
Var SetupMutex

!define MUI_ICON "${GM_ICON}"
!define MUI_UNICON "${GM_ICON}"
!define MUI_HEADERIMAGE
!define MUI_HEADERIMAGE_RIGHT
!define MUI_HEADERIMAGE_BITMAP "${GM_PICTURES}\header.bmp"
!define MUI_HEADERIMAGE_UNBITMAP "${GM_PICTURES}\header.bmp"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${GM_PICTURES}\side.bmp"
!define MUI_UNWELCOMEFINISHPAGE_BITMAP "${GM_PICTURES}\side.bmp"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

!define MUI_WELCOMEPAGE_TEXT "This installs ${PRODUCT} ${GM_VERSION} for you alone: the Monitor that keeps your profile in the mouse, and the settings program.$\r$\n$\r$\nNo administrator rights are needed. If the suite is running, Setup closes it first; your profiles and macros stay as they are.$\r$\n$\r$\nClick Next to continue."
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!define MUI_DIRECTORYPAGE_TEXT_TOP "Setup installs ${PRODUCT} in this folder. Your profiles and macros are kept in its config folder, so it must be a folder you can write to, such as one in your own profile."
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE DirectoryLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "${PRODUCT} is installed. Open it from the Start menu, or with the mouse's configuration button while the Monitor runs."
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT} now"
!define MUI_FINISHPAGE_RUN_FUNCTION StartSuite
; The second check box of the finish page is the logon choice.
!define MUI_FINISHPAGE_SHOWREADME
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Start the Monitor when I log on"
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION WriteLogonStart
!define MUI_PAGE_CUSTOMFUNCTION_SHOW FinishShow
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE FinishLeave
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; ---------------------------------------------------------------------------
; Closing the running suite, in Setup and in the uninstaller alike.

; IsRunning TITLE MUTEX -> $0: 1 while a window with that title or the program's
; single-instance mutex exists (a program starting up has the mutex first).
!macro GM_IS_RUNNING_FUNCTION PREFIX
Function ${PREFIX}IsRunning
  Exch $R1  ; mutex
  Exch
  Exch $R0  ; title
  Push $R2
  StrCpy $0 0
  FindWindow $R2 "" "$R0"
  ${If} $R2 <> 0
    StrCpy $0 1
  ${Else}
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w R1) p .R2'
    ${If} $R2 P<> 0
      System::Call 'kernel32::CloseHandle(p R2)'
      StrCpy $0 1
    ${EndIf}
  ${EndIf}
  Pop $R2
  Pop $R0
  Pop $R1
FunctionEnd
!macroend

; CloseProgram TITLE MUTEX -> $0: 1 once the program has ended (or never ran).
; WM_CLOSE goes again on every step: a window busy with a rename or an open menu
; takes the first one as "cancel that" rather than "close".
!macro GM_CLOSE_PROGRAM_FUNCTION PREFIX
Function ${PREFIX}CloseProgram
  Exch $R1  ; mutex
  Exch
  Exch $R0  ; title
  Push $R2
  Push $R3
  Push $R4
  Push $R5
  StrCpy $R3 0  ; milliseconds waited
  StrCpy $R5 0  ; handle of the process, once known
  ${Do}
    FindWindow $R2 "" "$R0"
    ${If} $R2 <> 0
      ${If} $R5 P= 0
        System::Call 'user32::GetWindowThreadProcessId(p R2, *i .R4) i'
        System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i R4) p .R5'
      ${EndIf}
      System::Call 'user32::PostMessageW(p R2, i ${WM_CLOSE}, p 0, p 0)'
    ${EndIf}
    ${If} $R5 P<> 0
      System::Call 'kernel32::WaitForSingleObject(p R5, i ${CLOSE_STEP_MS}) i .R4'
      ${If} $R4 = 0
        System::Call 'kernel32::CloseHandle(p R5)'
        StrCpy $R5 0
      ${EndIf}
    ${Else}
      Sleep ${CLOSE_STEP_MS}
    ${EndIf}
    Push $R0
    Push $R1
    Call ${PREFIX}IsRunning
    ${If} $0 = 0
    ${AndIf} $R5 P= 0
      ${Break}
    ${EndIf}
    IntOp $R3 $R3 + ${CLOSE_STEP_MS}
  ${LoopUntil} $R3 >= ${CLOSE_TIMEOUT_MS}
  ${If} $R5 P<> 0
    System::Call 'kernel32::CloseHandle(p R5)'
  ${EndIf}
  Push $R0
  Push $R1
  Call ${PREFIX}IsRunning
  IntOp $0 $0 !
  Pop $R5
  Pop $R4
  Pop $R3
  Pop $R2
  Pop $R0
  Pop $R1
FunctionEnd
!macroend

; CloseSuite: ends Option, then the Monitor (which would end Option too), and
; waits for both processes. When they stay, the user may retry; a silent run
; stops with exit code 3 and changes nothing.
!macro GM_CLOSE_SUITE_FUNCTION PREFIX
Function ${PREFIX}CloseSuite
  ${Do}
    DetailPrint "Closing ${PRODUCT} if it is running..."
    Push "${GM_OPTION_TITLE}"
    Push "${GM_OPTION_MUTEX}"
    Call ${PREFIX}CloseProgram
    StrCpy $1 $0
    Push "${GM_MONITOR_TITLE}"
    Push "${GM_MONITOR_MUTEX}"
    Call ${PREFIX}CloseProgram
    ${If} $0 = 1
    ${AndIf} $1 = 1
      ${Break}
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${PRODUCT} is still running and did not close.$\r$\n$\r$\nClose the Monitor (its icon's menu, Exit) and the settings window, then choose Retry." /SD IDCANCEL IDRETRY retry
    DetailPrint "${PRODUCT} is still running: nothing was changed."
    SetErrorLevel 3
    Abort
    retry:
  ${Loop}
FunctionEnd
!macroend

!insertmacro GM_IS_RUNNING_FUNCTION ""
!insertmacro GM_IS_RUNNING_FUNCTION "un."
!insertmacro GM_CLOSE_PROGRAM_FUNCTION ""
!insertmacro GM_CLOSE_PROGRAM_FUNCTION "un."
!insertmacro GM_CLOSE_SUITE_FUNCTION ""
!insertmacro GM_CLOSE_SUITE_FUNCTION "un."

; One setup or uninstall of the suite at a time: two would fight over the same
; files. The mutex lives as long as the process.
!macro GM_ONE_SETUP_AT_A_TIME
  System::Call 'kernel32::CreateMutexW(p 0, i 0, w "GamingMouse7741Setup") p .r0 ?e'
  Pop $1
  StrCpy $SetupMutex $0
  ${If} $1 = 183  ; ERROR_ALREADY_EXISTS
    MessageBox MB_OK|MB_ICONEXCLAMATION "Another ${PRODUCT} Setup or Uninstall is running." /SD IDOK
    SetErrorLevel 6
    Abort
  ${EndIf}
!macroend

; ---------------------------------------------------------------------------
; Setup.

; CanWrite -> $0: 1 when a file can be made in $INSTDIR. A folder made only for
; the check is removed again, so going back and choosing another leaves nothing.
Function CanWrite
  Push $1
  Push $2
  StrCpy $0 0
  StrCpy $1 0
  ${IfNot} ${FileExists} "$INSTDIR\*.*"
    ClearErrors
    CreateDirectory "$INSTDIR"
    ${If} ${Errors}
    ${OrIfNot} ${FileExists} "$INSTDIR\*.*"
      Goto done
    ${EndIf}
    StrCpy $1 1
  ${EndIf}
  ClearErrors
  FileOpen $2 "$INSTDIR\gm-setup-write-check.tmp" w
  ${IfNot} ${Errors}
    FileClose $2
    Delete "$INSTDIR\gm-setup-write-check.tmp"
    StrCpy $0 1
  ${EndIf}
  ${If} $1 = 1
    RMDir "$INSTDIR"
  ${EndIf}
  done:
  ClearErrors
  Pop $2
  Pop $1
FunctionEnd

Function DirectoryLeave
  Call CanWrite
  ${If} $0 <> 1
    MessageBox MB_OK|MB_ICONEXCLAMATION "You cannot write to this folder:$\r$\n$INSTDIR$\r$\n$\r$\n${PRODUCT} keeps your profiles beside its programs, so choose a folder of your own, such as one in $LOCALAPPDATA\Programs."
    Abort
  ${EndIf}
FunctionEnd

Section "${PRODUCT}" SecSuite
  SectionIn RO
  ; /D= of a silent install passes no directory page.
  Call CanWrite
  ${If} $0 <> 1
    MessageBox MB_OK|MB_ICONSTOP "You cannot write to $INSTDIR: nothing was installed." /SD IDOK
    DetailPrint "$INSTDIR is not writable: nothing was installed."
    SetErrorLevel 5
    Abort
  ${EndIf}
  Push "${GM_MONITOR_TITLE}"
  Push "${GM_MONITOR_MUTEX}"
  Call IsRunning
  StrCpy $MonitorWasRunning $0
  Call CloseSuite

  SetOutPath "$INSTDIR"
  SetOverwrite on
  File "${GM_PAYLOAD}\Monitor.exe"
  File "${GM_PAYLOAD}\Option.exe"
  File "${GM_PAYLOAD}\uistr.dll"
  File "${GM_PAYLOAD}\gmconfig.exe"
  ; The skins are ours alone: an old set leaves no file behind.
  RMDir /r "$INSTDIR\skins"
  SetOutPath "$INSTDIR\skins"
  File /r "${GM_PAYLOAD}\skins\*.*"
  SetOutPath "$INSTDIR"
  ; Never replaced: it holds the user's profiles and macros.
  CreateDirectory "$INSTDIR\config"
SectionEnd

Section /o "Virtual mouse (a demo without the mouse)" SecVirtualMouse
  SetOutPath "$INSTDIR"
  File "/oname=devio.dll" "${GM_PAYLOAD}\devio-sim.dll"
  File "${GM_PAYLOAD}\mousesim.exe"
SectionEnd

Section "-Mouse library"
  SetOutPath "$INSTDIR"
  ${IfNot} ${SectionIsSelected} ${SecVirtualMouse}
    File "/oname=devio.dll" "${GM_PAYLOAD}\devio-hid.dll"
    ; Left from a demo install: its tool and the virtual mouse's own files.
    Delete "$INSTDIR\mousesim.exe"
    Delete "$INSTDIR\devio-trace.txt"
    Delete "$INSTDIR\devio-state.ini"
  ${EndIf}
SectionEnd

Section "-Shortcut and registration"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  ; Monitor.exe 1 starts the Monitor when none runs and opens the settings.
  CreateShortCut "${SHORTCUT}" "$INSTDIR\Monitor.exe" "1" "$INSTDIR\Option.exe" 0 SW_SHOWNORMAL "" "Change the settings of the 7741 gaming mouse"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Option.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${GM_VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${GM_PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${If} ${SectionIsSelected} ${SecVirtualMouse}
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "VirtualMouse" 1
  ${Else}
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "VirtualMouse" 0
  ${EndIf}
  ; The programs and skins, not the user's profiles: what removing the suite frees.
  ${GetSize} "$INSTDIR" "/S=0K /G=0" $0 $1 $2
  ${GetSize} "$INSTDIR\skins" "/S=0K" $1 $2 $3
  IntOp $0 $0 + $1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0

  ; The default of the finish page's logon choice, and what a silent install takes.
  ${If} $LogonDefault = 1
    Call WriteLogonStart
  ${Else}
    DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${EndIf}

  ; A silent upgrade gives back the Monitor it closed, now the new one; with the
  ; pages, the finish page offers to start the suite.
  ${If} ${Silent}
  ${AndIf} $MonitorWasRunning = 1
    Exec '"$INSTDIR\Monitor.exe"'
  ${EndIf}
SectionEnd

; RequestedFolder -> $0: the folder given with /D= (NSIS takes it from the first
; " /D=" to the end of the command line, blanks and all), without a trailing
; backslash; "" without one.
Function RequestedFolder
  Push $1
  Push $2
  Push $3
  System::Call 'kernel32::GetCommandLineW() w .r1'
  StrLen $2 $1
  StrCpy $0 ""
  StrCpy $3 0
  ${DoWhile} $3 < $2
    StrCpy $0 $1 4 $3
    ${If} $0 S== " /D="
      IntOp $3 $3 + 4
      StrCpy $0 $1 "" $3
      ${Break}
    ${EndIf}
    StrCpy $0 ""
    IntOp $3 $3 + 1
  ${Loop}
  ${DoWhile} $0 != ""
    StrCpy $1 $0 1 -1
    ${If} $1 != "\"
      ${Break}
    ${EndIf}
    StrCpy $0 $0 -1
  ${Loop}
  Pop $3
  Pop $2
  Pop $1
FunctionEnd

Function .onInit
  !insertmacro GM_ONE_SETUP_AT_A_TIME

  ; NSIS silently replaces a /D= folder it finds unusable (one under a file, say)
  ; with the default: a silent install would go where it was not asked to.
  Call RequestedFolder
  ${If} $0 != ""
  ${AndIf} $0 != $INSTDIR
    MessageBox MB_OK|MB_ICONSTOP "$0 cannot be a folder: nothing was installed." /SD IDOK
    SetErrorLevel 5
    Abort
  ${EndIf}

  ; The last install's choices are this one's defaults.
  StrCpy $LogonDefault 1
  ClearErrors
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "DisplayVersion"
  ${IfNot} ${Errors}
    ClearErrors
    ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
    ${If} ${Errors}
      StrCpy $LogonDefault 0
    ${EndIf}
    ClearErrors
    ReadRegDWORD $0 HKCU "${UNINSTALL_KEY}" "VirtualMouse"
    ${If} $0 = 1
      !insertmacro SelectSection ${SecVirtualMouse}
    ${EndIf}
  ${EndIf}

  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/VIRTUALMOUSE=" $1
  ${IfNot} ${Errors}
    ${If} $1 == "1"
      !insertmacro SelectSection ${SecVirtualMouse}
    ${Else}
      !insertmacro UnselectSection ${SecVirtualMouse}
    ${EndIf}
  ${EndIf}
  ClearErrors
FunctionEnd

Function WriteLogonStart
  WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\Monitor.exe"'
FunctionEnd

Function FinishShow
  ${NSD_SetState} $mui.FinishPage.ShowReadme $LogonDefault
FunctionEnd

Function FinishLeave
  ${NSD_GetState} $mui.FinishPage.ShowReadme $0
  ${If} $0 <> ${BST_CHECKED}
    DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${EndIf}
FunctionEnd

Function StartSuite
  Exec '"$INSTDIR\Monitor.exe" 1'
FunctionEnd

; ---------------------------------------------------------------------------
; Uninstaller.

Function un.onInit
  !insertmacro GM_ONE_SETUP_AT_A_TIME
FunctionEnd

Section "Uninstall"
  Call un.CloseSuite

  ClearErrors
  Delete "$INSTDIR\Monitor.exe"
  Delete "$INSTDIR\Option.exe"
  Delete "$INSTDIR\uistr.dll"
  Delete "$INSTDIR\gmconfig.exe"
  Delete "$INSTDIR\devio.dll"
  Delete "$INSTDIR\mousesim.exe"
  Delete "$INSTDIR\devio-trace.txt"
  Delete "$INSTDIR\devio-state.ini"
  RMDir /r "$INSTDIR\skins"
  Delete "${SHORTCUT}"
  ${If} ${Errors}
    ; The entry stays, so the user can run the uninstaller again.
    MessageBox MB_OK|MB_ICONEXCLAMATION "Some files of ${PRODUCT} in $INSTDIR could not be removed. Close every program that uses them and uninstall again." /SD IDOK
    DetailPrint "Some files could not be removed."
    SetErrorLevel 4
    Abort
  ${EndIf}

  ; Only this install's logon start: another folder's suite may own the value now.
  ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${If} $0 == '"$INSTDIR\Monitor.exe"'
    DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${EndIf}

  ${If} ${FileExists} "$INSTDIR\config\*.*"
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON1 "Keep your profiles and macros?$\r$\n$\r$\nThey stay in $INSTDIR\config, and ${PRODUCT} finds them again when you install it there. Choose No to delete them." /SD IDYES IDYES keep
    ClearErrors
    RMDir /r "$INSTDIR\config"
    ${If} ${Errors}
      MessageBox MB_OK|MB_ICONEXCLAMATION "Some of your profiles and macros in $INSTDIR\config could not be deleted." /SD IDOK
      DetailPrint "Some profiles and macros could not be deleted."
    ${Else}
      DetailPrint "Profiles and macros deleted."
    ${EndIf}
    Goto removed
    keep:
    DetailPrint "Profiles and macros kept in $INSTDIR\config."
    removed:
  ${EndIf}

  Delete "$INSTDIR\Uninstall.exe"
  ; Not /r: whatever else is in the folder is the user's.
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ClearErrors
SectionEnd
