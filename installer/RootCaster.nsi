; Setup program of RootCaster: installs the program, the tray program, the
; folder-menu shell extension, the two item icons and the help page, records
; where they are for the program and the extension, registers the extension
; and an uninstaller, and offers to start the tray program.
;
; Built by installer/CMakeLists.txt, which defines
;   VERSION     the program's version, e.g. 1.0.5
;   PROGRAM     the program, installed as RootCaster.exe
;   TRAY        the tray program, installed as RootCasterTray.exe
;   MENU_DLL    the folder-menu shell extension, installed as RootCasterMenu.dll
;   MENU_DLL64  (x86 edition) the x64 extension, installed as RootCasterMenu64.dll
;               on 64-bit Windows, for 64-bit Explorer
;   X64         (defined for the x64 edition) a 64-bit setup of the x64 programs
;               into the 64-bit Program Files, registered in the 64-bit registry view
;   PE_VERSION_TOOL  (x64) installer/pe-os-version.py, which makes its header ask
;               for Windows 5.2
;   ICON_DIR    the folder holding the program's icon RootCaster.ico and the
;               item icons explore.ico and msdos.ico
;   HELP_PAGE   the help document, installed as RootCaster.htm
;   CLASS_IDS   an include, made from the program's headers, that defines
;               ROOT_CLASS_ID, the extension's class of the menu root, and
;               MENU_ROOT, the menu root folder's name below the Start Menu
;   OUTFILE     the setup program to write
;
; Two modes, as NSIS's MultiUser header names them: for all users (the
; programs in Program Files, the extension and the uninstall entry in the
; machine's registry) or for the current user only (the programs in
; %LOCALAPPDATA%\Programs\RootCaster, the extension, InstallDir and the
; uninstall entry below HKEY_CURRENT_USER); no administrator is needed for
; the second. /AllUsers and /CurrentUser choose; without either an
; administrator is asked (a silent setup installs for all users) and anyone
; else installs for themselves. Systems before Windows 2000 keep no per-user
; classes and always install for all users. Each mode's uninstaller undoes
; only its own mode.
;
; Command line (besides NSIS's own /S and /D=<directory>): setup takes
; /TRAYNOW (start the tray program at the end) and /TRAYLOGON (start it with
; Windows); a silent installation does neither without them, an interactive
; one offers both as components. The uninstaller takes /REMOVESETTINGS to
; delete the user's settings without asking; in a silent uninstallation
; without it the settings are kept. /D= must come last and unquoted; the
; uninstaller copies itself away and returns at once unless it is given
; _?=<installation directory>.

!ifdef X64
; A 64-bit program itself: it runs where no 32-bit code runs, sees the 64-bit
; System32, Program Files and registry, and 32-bit Windows refuses to start it.
Target amd64-unicode
!packhdr "${OUTFILE}.header" '"${PE_VERSION_TOOL}" "${OUTFILE}.header" 5 2'
!define EDITION_NAME "RootCaster (x64)"
!define PROGRAM_FILES "$PROGRAMFILES64"
!else
; ANSI, so that the same setup runs on Windows 95, 98 and NT 4.0: NSIS's
; Unicode installers need Windows NT.
Unicode false
!define EDITION_NAME "RootCaster"
!define PROGRAM_FILES "$PROGRAMFILES"
!endif
SetCompressor /SOLID lzma
; Elevated where the user is an administrator, who may install for all
; users; anyone else runs as they are and installs for themselves. Older
; systems ignore the request.
RequestExecutionLevel highest
ManifestSupportedOS all
; Sharp at every scale: per-monitor on 10 1703 and later, the system DPI
; before; the controls of the visual style (common controls 6).
ManifestDPIAware true
ManifestDPIAwareness "PerMonitorV2,System"
XPStyle on

!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh
!include WinMessages.nsh
!include WinVer.nsh
!include x64.nsh
!include "${CLASS_IDS}"

; Below HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER, as the mode says (SHCTX).
!define CLASSES "Software\Classes"
!define CLASS_KEY "${CLASSES}\CLSID\${ROOT_CLASS_ID}"
!define VERB_KEY "Directory\Shell\RootCaster"
!define VERB_COMMAND_KEY "${VERB_KEY}\Command"
!define COMPANY_KEY "Software\Quillmoor"
!define SETTINGS_KEY "${COMPANY_KEY}\RootCaster"
!define CONFIG_KEY "${SETTINGS_KEY}\Config"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\RootCaster"
!define UNINSTALLER "uninstall.exe"
; The tray program's window class, and the per-user Run entry it writes
; itself for "Start with Windows".
!define TRAY_EXE "RootCasterTray.exe"
!define TRAY_CLASS "RootCasterTray"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "RootCasterTray"
!define MENU_FILE "RootCasterMenu.dll"
!define MENU_FILE64 "RootCasterMenu64.dll"
; Not "$SMPROGRAMS\RootCaster\...": the folder "RootCaster" of the Start Menu
; is the menu root that the program fills for the user.
!define SHORTCUT "$SMPROGRAMS\RootCaster.lnk"

Var RemoveSettings
; 1 when the user's menus are to be taken off the Start Menu.
Var RemoveMenus
; 1 for all users, 0 for the current user only.
Var AllUsers
; What regsvr32 is told besides /s: the current user's registration or none.
Var RegsvrScope

Name "RootCaster ${VERSION}"
Caption "RootCaster ${VERSION} Setup"
UninstallCaption "RootCaster ${VERSION} Uninstall"
BrandingText "RootCaster ${VERSION}"
Icon "${ICON_DIR}/RootCaster.ico"
UninstallIcon "${ICON_DIR}/RootCaster.ico"
OutFile "${OUTFILE}"
; No InstallDir: $INSTDIR is empty in .onInit unless /D= named it, and the
; mode's default takes its place there.
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "RootCaster"
VIAddVersionKey "CompanyName" "Quillmoor"
VIAddVersionKey "FileDescription" "RootCaster Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Quillmoor"

Page components
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "RootCaster"
  SectionIn RO
  Call UseModeContext
  ; A running tray program holds its file.
  Call CloseTray
  SetOutPath "$INSTDIR"
  File "/oname=RootCaster.exe" "${PROGRAM}"
  File "/oname=${TRAY_EXE}" "${TRAY}"
  File "${ICON_DIR}/explore.ico"
  File "${ICON_DIR}/msdos.ico"
  File "/oname=RootCaster.htm" "${HELP_PAGE}"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  Call InstallMenuExtension

  ; Where the program, the item icons and the shell extension are found.
  WriteRegStr SHCTX "${CLASS_KEY}" "InstallDir" "$INSTDIR"
  Call WriteHelpFileSetting
  Call RegisterUninstaller
  Call InstallExplorerVerb
  ; The shortcut is the installing user's in either mode.
  SetShellVarContext current
  CreateShortcut "${SHORTCUT}" "$INSTDIR\RootCaster.exe" "" "$INSTDIR\RootCaster.exe" 0 SW_SHOWNORMAL
SectionEnd

Section "Start the tray menu with Windows" TrayLogonSection
  WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\${TRAY_EXE}"'
SectionEnd

Section "Start the tray menu now" TrayNowSection
  Exec '"$INSTDIR\${TRAY_EXE}"'
SectionEnd

; Silently, the tray program is started only when asked for.
Function .onInit
  Call ChooseInstallMode
  Call ChooseInstallDir
  ${If} ${Silent}
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/TRAYNOW" $1
    ${If} ${Errors}
      !insertmacro UnselectSection ${TrayNowSection}
    ${EndIf}
    ClearErrors
    ${GetOptions} $0 "/TRAYLOGON" $1
    ${If} ${Errors}
      !insertmacro UnselectSection ${TrayLogonSection}
    ${EndIf}
  ${EndIf}
FunctionEnd

; Sets AllUsers after the command line and the user's rights (see the top).
Function ChooseInstallMode
  StrCpy $AllUsers 1
  ${IfNot} ${AtLeastWin2000}
    Return
  ${EndIf}
  UserInfo::GetAccountType
  Pop $0
  ${GetParameters} $1
  ClearErrors
  ${GetOptions} $1 "/CurrentUser" $2
  ${IfNot} ${Errors}
    StrCpy $AllUsers 0
    Return
  ${EndIf}
  ClearErrors
  ${GetOptions} $1 "/AllUsers" $2
  ${IfNot} ${Errors}
    ${If} $0 != "Admin"
      ; Asked for, all users fail loudly rather than turn into one user.
      MessageBox MB_OK|MB_ICONSTOP "Installing RootCaster for all users needs an administrator." /SD IDOK
      SetErrorLevel 740
      Quit
    ${EndIf}
    Return
  ${EndIf}
  ${If} $0 != "Admin"
    StrCpy $AllUsers 0
  ${ElseIfNot} ${Silent}
    MessageBox MB_YESNO|MB_ICONQUESTION "Install RootCaster for all users of this computer?$\n$\nNo installs it for you alone, without an administrator's changes to the computer." IDYES +2
    StrCpy $AllUsers 0
  ${EndIf}
FunctionEnd

; Where an earlier installation of the same mode lies, else the mode's own
; programs folder: for the current user FOLDERID_UserProgramFiles, which is
; %LOCALAPPDATA%\Programs.
Function ChooseInstallDir
  ${If} $INSTDIR != ""
    Return
  ${EndIf}
  Call UseModeContext
  ReadRegStr $INSTDIR SHCTX "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $INSTDIR != ""
    Return
  ${EndIf}
  ${If} $AllUsers == 1
    StrCpy $INSTDIR "${PROGRAM_FILES}\RootCaster"
  ${Else}
    StrCpy $INSTDIR "$LOCALAPPDATA\Programs\RootCaster"
  ${EndIf}
FunctionEnd

; The registry root of SHCTX and regsvr32's scope as AllUsers says.
!macro USE_MODE_CONTEXT PREFIX
Function ${PREFIX}UseModeContext
  ${If} $AllUsers == 1
    SetShellVarContext all
    StrCpy $RegsvrScope ""
  ${Else}
    SetShellVarContext current
    StrCpy $RegsvrScope "/n /i:user"
  ${EndIf}
FunctionEnd
!macroend
!insertmacro USE_MODE_CONTEXT ""
!insertmacro USE_MODE_CONTEXT "un."

; Closes the running tray program as a user's "Exit" would and waits up to
; five seconds for it to go.
!macro CLOSE_TRAY PREFIX
Function ${PREFIX}CloseTray
  FindWindow $0 "${TRAY_CLASS}"
  ${If} $0 <> 0
    SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
    StrCpy $1 0
    ${DoWhile} $1 < 50
      Sleep 100
      FindWindow $0 "${TRAY_CLASS}"
      ${If} $0 = 0
        ${ExitDo}
      ${EndIf}
      IntOp $1 $1 + 1
    ${Loop}
    ; Its window goes first, the process right after.
    Sleep 500
  ${EndIf}
FunctionEnd
!macroend
!insertmacro CLOSE_TRAY ""
!insertmacro CLOSE_TRAY "un."

; Installs a file that Explorer may hold loaded: then the new copy takes its
; place at the next restart.
!macro InstallHeldFile SOURCE NAME
  SetOverwrite try
  ClearErrors
  File "/oname=${NAME}" "${SOURCE}"
  ${If} ${Errors}
    File "/oname=${NAME}.new" "${SOURCE}"
    Rename /REBOOTOK "$INSTDIR\${NAME}.new" "$INSTDIR\${NAME}"
  ${EndIf}
  SetOverwrite on
!macroend

; Explorer may keep the extension of an earlier installation loaded. The
; extension registers its classes below HKLM\Software\Classes for all users,
; where every shell reads them, or below HKCU\Software\Classes for the
; current user (regsvr32 calls its DllInstall with "user"; Windows 95 lacks
; regsvr32, but there every installation is for all users).
Function InstallMenuExtension
  !insertmacro InstallHeldFile "${MENU_DLL}" "${MENU_FILE}"
  ${If} $AllUsers == 1
    RegDLL "$INSTDIR\${MENU_FILE}"
  ${Else}
    ExecWait '"$SYSDIR\regsvr32.exe" /s $RegsvrScope "$INSTDIR\${MENU_FILE}"'
  ${EndIf}
!ifndef X64
  Call InstallMenuExtension64
!endif
FunctionEnd

!ifndef X64
; 64-bit Windows runs a 64-bit Explorer, which loads only the x64 extension.
; This setup is a 32-bit program and cannot load that DLL itself: the 64-bit
; regsvr32 registers it, into the 64-bit registry view.
Function InstallMenuExtension64
  ${IfNot} ${RunningX64}
    Return
  ${EndIf}
  !insertmacro InstallHeldFile "${MENU_DLL64}" "${MENU_FILE64}"
  ${DisableX64FSRedirection}
  ExecWait '"$SYSDIR\regsvr32.exe" /s $RegsvrScope "$INSTDIR\${MENU_FILE64}"'
  ${EnableX64FSRedirection}
FunctionEnd
!endif

; "Help" pastes the document into the HTML program's command line as it is,
; without quotation marks, so a path with blanks would fall apart into
; several arguments: store the short (8.3) form where the file system has one.
Function WriteHelpFileSetting
  GetFullPathName /SHORT $0 "$INSTDIR\RootCaster.htm"
  ${If} $0 == ""
    StrCpy $0 "$INSTDIR\RootCaster.htm"
  ${EndIf}
  WriteRegStr HKCU "${CONFIG_KEY}" "HelpFile" "$0"
FunctionEnd

Function RegisterUninstaller
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${EDITION_NAME}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "Quillmoor"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\RootCaster.exe"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
FunctionEnd

; "Add to RootCaster!" as the program's Done writes it, unless the user
; cleared the option: in the user's own classes on Windows 2000 and later,
; below HKEY_CLASSES_ROOT before. The command first, so that the verb never
; has a menu text without one; the program's path quoted, the directory not.
!macro WRITE_VERB ROOT PREFIX
  WriteRegStr ${ROOT} "${PREFIX}${VERB_COMMAND_KEY}" "" '"$INSTDIR\RootCaster.exe" %1'
  WriteRegStr ${ROOT} "${PREFIX}${VERB_KEY}" "" "Add to RootCaster!"
!macroend
Function InstallExplorerVerb
  ClearErrors
  ReadRegDWORD $0 HKCU "${CONFIG_KEY}" "AddToRootCaster"
  ${If} ${Errors}
    StrCpy $0 1
  ${EndIf}
  ${If} $0 <> 1
    Return
  ${EndIf}
  ${IfNot} ${AtLeastWin2000}
    !insertmacro WRITE_VERB HKCR ""
    Return
  ${EndIf}
  !insertmacro WRITE_VERB HKCU "${CLASSES}\"
FunctionEnd

; The mode of the installation this uninstaller lies in: the current user's
; when the user's uninstall entry names it.
Function un.onInit
  StrCpy $AllUsers 1
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
    StrCpy $AllUsers 0
  ${EndIf}
FunctionEnd

Section "Uninstall"
  Call un.UseModeContext
  Call un.AskWhetherToRemoveSettings
  Call un.AskWhetherToRemoveMenus
  Call un.CloseTray
  Call un.RemoveMenus
  DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"

  ; Explorer may still hold the extension: it goes at the next restart.
  ${If} $AllUsers == 1
    UnRegDLL "$INSTDIR\${MENU_FILE}"
  ${Else}
    ExecWait '"$SYSDIR\regsvr32.exe" /u /s $RegsvrScope "$INSTDIR\${MENU_FILE}"'
  ${EndIf}
  Delete /REBOOTOK "$INSTDIR\${MENU_FILE}"
!ifndef X64
  Call un.RemoveMenuExtension64
!endif
  Delete "$INSTDIR\RootCaster.exe"
  Delete "$INSTDIR\${TRAY_EXE}"
  Delete "$INSTDIR\explore.ico"
  Delete "$INSTDIR\msdos.ico"
  Delete "$INSTDIR\RootCaster.htm"
  Delete "$INSTDIR\${UNINSTALLER}"
  ; Only when empty: whatever else lies there is not ours.
  RMDir /REBOOTOK "$INSTDIR"

  ; The extension removed its own values; what else the key holds is not ours.
  DeleteRegValue SHCTX "${CLASS_KEY}" "InstallDir"
  DeleteRegKey /ifempty SHCTX "${CLASS_KEY}"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  ; The verb is the user's in either mode; for all users also one that an
  ; earlier version left in the machine's classes (on systems before
  ; Windows 2000 the only place).
  DeleteRegKey HKCU "${CLASSES}\${VERB_KEY}"
  ${If} $AllUsers == 1
    DeleteRegKey HKLM "${CLASSES}\${VERB_KEY}"
  ${EndIf}
  SetShellVarContext current
  Delete "${SHORTCUT}"

  DeleteRegValue HKCU "${CONFIG_KEY}" "HelpFile"
  ${If} $RemoveSettings == 1
    DeleteRegKey HKCU "${SETTINGS_KEY}"
  ${Else}
    DeleteRegKey /ifempty HKCU "${CONFIG_KEY}"
    DeleteRegKey /ifempty HKCU "${SETTINGS_KEY}"
  ${EndIf}
  DeleteRegKey /ifempty HKCU "${COMPANY_KEY}"
SectionEnd

; Sets RemoveMenus to 1 when asked to by /REMOVEMENUS or, interactively, by
; the user; silently the menus stay.
Function un.AskWhetherToRemoveMenus
  StrCpy $RemoveMenus 0
  ${un.GetParameters} $0
  ClearErrors
  ${un.GetOptions} $0 "/REMOVEMENUS" $1
  ${IfNot} ${Errors}
    StrCpy $RemoveMenus 1
  ${ElseIfNot} ${Silent}
  ${AndIf} ${Cmd} `MessageBox MB_YESNO|MB_ICONQUESTION "Also take RootCaster's menus off your Start Menu? Your files and folders stay." IDYES`
    StrCpy $RemoveMenus 1
  ${EndIf}
FunctionEnd

; Each first-level entry of the user's menu root, taken off by the program's
; own removal, which keeps whatever is not RootCaster's. A one-letter name
; is a drive's, any other a server's, as the program reads them.
Function un.RemoveMenus
  ${If} $RemoveMenus != 1
    Return
  ${EndIf}
  SetShellVarContext current
  StrCpy $3 "$STARTMENU\${MENU_ROOT}"
  FindFirst $0 $1 "$3\*"
  ${DoWhile} $1 != ""
    StrLen $2 $1
    ${If} ${FileExists} "$3\$1\*.*"
    ${AndIf} $1 != "."
    ${AndIf} $1 != ".."
      ${If} $2 == 1
        ExecWait '"$INSTDIR\RootCaster.exe" /remove $1:\'
      ${Else}
        ExecWait '"$INSTDIR\RootCaster.exe" /remove \\$1\'
      ${EndIf}
    ${EndIf}
    FindNext $0 $1
  ${Loop}
  FindClose $0
  Call un.UseModeContext
FunctionEnd

; Sets RemoveSettings to 1 when the user's settings are to be deleted.
Function un.AskWhetherToRemoveSettings
  StrCpy $RemoveSettings 0
  ${un.GetParameters} $0
  ClearErrors
  ${un.GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    StrCpy $RemoveSettings 1
  ${ElseIfNot} ${Silent}
  ${AndIf} ${Cmd} `MessageBox MB_YESNO|MB_ICONQUESTION "Keep your RootCaster settings (options, icons and usage count) for a later installation?" IDNO`
    StrCpy $RemoveSettings 1
  ${EndIf}
FunctionEnd

!ifndef X64
Function un.RemoveMenuExtension64
  ${IfNot} ${RunningX64}
    Return
  ${EndIf}
  ${DisableX64FSRedirection}
  ExecWait '"$SYSDIR\regsvr32.exe" /u /s $RegsvrScope "$INSTDIR\${MENU_FILE64}"'
  ${EnableX64FSRedirection}
  Delete /REBOOTOK "$INSTDIR\${MENU_FILE64}"
FunctionEnd
!endif
