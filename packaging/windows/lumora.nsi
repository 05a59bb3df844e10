; Lumora's Windows installer: a per-user install without administrator rights under
; %LOCALAPPDATA%\Programs\Lumora, a Start-menu entry and an entry in Apps & features.
; The uninstaller removes the program, its Start-menu entry and its Run values; the user's
; settings and day pictures stay unless the uninstaller is asked to remove them too.
;
; makensis -DVERSION=2.2.4 -DPROGRAM=path\to\lumora.exe -DICON=path\to\lumora.ico
;          -DOUTFILE=Lumora-2.2.4-setup.exe lumora.nsi

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include "MUI2.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumora"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"

Name "Lumora"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Lumora"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Lumora ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "Lumora"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "Lumora ${VERSION} setup"
VIAddVersionKey /LANG=1033 "CompanyName" "The Lumora developers"
VIAddVersionKey /LANG=1033 "LegalCopyright" "The Lumora developers"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\lumora.exe"
!define MUI_COMPONENTSPAGE_NODESC

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
    SetShellVarContext current
FunctionEnd

Function un.onInit
    SetShellVarContext current
FunctionEnd

Section "Lumora" SecProgram
    SectionIn RO
    SetOutPath "$INSTDIR"
    File "/oname=lumora.exe" "${PROGRAM}"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\Lumora.lnk" "$INSTDIR\lumora.exe" "" "$INSTDIR\lumora.exe" 0

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Lumora"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "The Lumora developers"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\lumora.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    SectionGetSize ${SecProgram} $0
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "un.Lumora" UnSecProgram
    SectionIn RO
    ; A running Lumora holds its .exe open: the user is asked to end it, and a silent
    ; uninstall leaves the file to be removed at the next restart.
retry:
    ClearErrors
    Delete "$INSTDIR\lumora.exe"
    IfErrors 0 removed
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "Lumora is running. Choose Exit in its menu in the notification area, then Retry." \
        /SD IDCANCEL IDRETRY retry
    Delete /REBOOTOK "$INSTDIR\lumora.exe"
removed:
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\Lumora.lnk"
    ; Start at logon: the user's value, and the machine's where this user may change it.
    DeleteRegValue HKCU "${RUN_KEY}" "Lumora"
    DeleteRegValue HKLM "${RUN_KEY}" "Lumora"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

; Not chosen unless the user ticks it: the settings and the day pictures.
Section /o "un.My settings and day pictures" UnSecData
    DeleteRegKey HKCU "Software\Vintrel\Options"
    DeleteRegKey /ifempty HKCU "Software\Vintrel"
    RMDir /r "$LOCALAPPDATA\Lumora"
SectionEnd
