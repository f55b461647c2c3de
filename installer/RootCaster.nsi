; Setup program of RootCaster: installs the program, the folder-menu shell
; extension, the two item icons and the help page, records where they are for
; the program and the extension, registers the extension and an uninstaller.
;
; Built by installer/CMakeLists.txt, which defines
;   VERSION     the program's version, e.g. 1.0.5
;   PROGRAM     the program, installed as RootCaster.exe
;   MENU_DLL    the folder-menu shell extension, installed as RootCasterMenu.dll
;   MENU_DLL64  its 64-bit build, installed as RootCasterMenu64.dll on 64-bit Windows
;   ICON_DIR    the folder holding the program's icon RootCaster.ico and the
;               item icons explore.ico and msdos.ico
;   HELP_PAGE   the help document, installed as RootCaster.htm
;   OUTFILE     the setup program to write
;
; Command line (besides NSIS's own /S and /D=<directory>): the uninstaller
; takes /REMOVESETTINGS to delete the user's settings without asking; in a
; silent uninstallation without it the settings are kept. /D= must come last
; and unquoted; the uninstaller copies itself away and returns at once unless
; it is given _?=<installation directory>.

; ANSI, so that the same setup runs on Windows 95, 98 and NT 4.0: NSIS's
; Unicode installers need Windows NT.
Unicode false
SetCompressor /SOLID lzma
; Writing HKEY_CLASSES_ROOT and the machine's list of installed programs
; needs an administrator on Windows NT; older systems ignore the request.
RequestExecutionLevel admin
ManifestSupportedOS all

!include LogicLib.nsh
!include FileFunc.nsh
!include x64.nsh

!define CLASS_KEY "CLSID\{5A3C71E4-2B90-11D1-A4F6-00C04F7B3E28}"
!define VERB_KEY "Directory\Shell\RootCaster"
!define COMPANY_KEY "Software\Quillmoor"
!define SETTINGS_KEY "${COMPANY_KEY}\RootCaster"
!define CONFIG_KEY "${SETTINGS_KEY}\Config"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\RootCaster"
!define UNINSTALLER "uninstall.exe"
!define MENU_FILE "RootCasterMenu.dll"
!define MENU_FILE64 "RootCasterMenu64.dll"
; Not "$SMPROGRAMS\RootCaster\...": the folder "RootCaster" of the Start Menu
; is the menu root that the program fills for the user.
!define SHORTCUT "$SMPROGRAMS\RootCaster.lnk"

Var RemoveSettings

Name "RootCaster ${VERSION}"
Caption "RootCaster ${VERSION} Setup"
UninstallCaption "RootCaster ${VERSION} Uninstall"
BrandingText "RootCaster ${VERSION}"
Icon "${ICON_DIR}/RootCaster.ico"
UninstallIcon "${ICON_DIR}/RootCaster.ico"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\RootCaster"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "RootCaster"
VIAddVersionKey "CompanyName" "Quillmoor"
VIAddVersionKey "FileDescription" "RootCaster Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Quillmoor"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "RootCaster"
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "/oname=RootCaster.exe" "${PROGRAM}"
  File "${ICON_DIR}/explore.ico"
  File "${ICON_DIR}/msdos.ico"
  File "/oname=RootCaster.htm" "${HELP_PAGE}"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  Call InstallMenuExtension

  ; Where the program, the item icons and the shell extension are found.
  WriteRegStr HKCR "${CLASS_KEY}" "InstallDir" "$INSTDIR"
  Call WriteHelpFileSetting
  CreateShortcut "${SHORTCUT}" "$INSTDIR\RootCaster.exe" "" "$INSTDIR\RootCaster.exe" 0 SW_SHOWNORMAL
  Call RegisterUninstaller
SectionEnd

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
; extension registers its classes below HKLM\Software\Classes, where every
; shell reads them.
Function InstallMenuExtension
  !insertmacro InstallHeldFile "${MENU_DLL}" "${MENU_FILE}"
  RegDLL "$INSTDIR\${MENU_FILE}"
  Call InstallMenuExtension64
FunctionEnd

; 64-bit Windows runs a 64-bit Explorer, which loads only the 64-bit build.
; Setup is a 32-bit program and cannot load that DLL itself: the 64-bit
; regsvr32 registers it, into the 64-bit registry view.
Function InstallMenuExtension64
  ${IfNot} ${RunningX64}
    Return
  ${EndIf}
  !insertmacro InstallHeldFile "${MENU_DLL64}" "${MENU_FILE64}"
  ${DisableX64FSRedirection}
  ExecWait '"$SYSDIR\regsvr32.exe" /s "$INSTDIR\${MENU_FILE64}"'
  ${EnableX64FSRedirection}
FunctionEnd

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
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "RootCaster"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Quillmoor"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\RootCaster.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
FunctionEnd

Section "Uninstall"
  SetShellVarContext current
  Call un.AskWhetherToRemoveSettings

  ; Explorer may still hold the extension: it goes at the next restart.
  UnRegDLL "$INSTDIR\${MENU_FILE}"
  Delete /REBOOTOK "$INSTDIR\${MENU_FILE}"
  Call un.RemoveMenuExtension64
  Delete "$INSTDIR\RootCaster.exe"
  Delete "$INSTDIR\explore.ico"
  Delete "$INSTDIR\msdos.ico"
  Delete "$INSTDIR\RootCaster.htm"
  Delete "$INSTDIR\${UNINSTALLER}"
  ; Only when empty: whatever else lies there is not ours.
  RMDir /REBOOTOK "$INSTDIR"
  Delete "${SHORTCUT}"

  ; The extension removed its own values; what else the key holds is not ours.
  DeleteRegValue HKCR "${CLASS_KEY}" "InstallDir"
  DeleteRegKey /ifempty HKCR "${CLASS_KEY}"
  DeleteRegKey HKCR "${VERB_KEY}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  DeleteRegValue HKCU "${CONFIG_KEY}" "HelpFile"
  ${If} $RemoveSettings == 1
    DeleteRegKey HKCU "${SETTINGS_KEY}"
  ${Else}
    DeleteRegKey /ifempty HKCU "${CONFIG_KEY}"
    DeleteRegKey /ifempty HKCU "${SETTINGS_KEY}"
  ${EndIf}
  DeleteRegKey /ifempty HKCU "${COMPANY_KEY}"
  ; The menu folders below the Start Menu are the user's and stay.
SectionEnd

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

Function un.RemoveMenuExtension64
  ${IfNot} ${RunningX64}
    Return
  ${EndIf}
  ${DisableX64FSRedirection}
  ExecWait '"$SYSDIR\regsvr32.exe" /u /s "$INSTDIR\${MENU_FILE64}"'
  ${EnableX64FSRedirection}
  Delete /REBOOTOK "$INSTDIR\${MENU_FILE64}"
FunctionEnd
