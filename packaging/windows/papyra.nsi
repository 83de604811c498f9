; The Papyra installer for Windows, made by scripts/build-windows.sh:
;   makensis -DVERSION=3.4.0 -DSTAGE=<program folder> -DICON=<papyra.ico> -DOUTFILE=<setup.exe> papyra.nsi
;
; The program and its read-only files (template, label definitions, tour pictures) go into
; Program Files\Papyra. The file papyra-installed beside the program tells Papyra that it is
; installed, so each user's database is kept in their own application data folder
; (%LOCALAPPDATA%\Papyra), made from the template at the first start. Uninstalling removes the
; program folder and its Start menu entry, never a user's data.
; "setup.exe /S" installs silently, "/D=<folder>" (last on the command line) chooses the folder.

; A 64-bit installer for a 64-bit program (it also runs under a 64-bit-only Wine).
Target amd64-unicode
!include "MUI2.nsh"
!include "x64.nsh"

!define APP "Papyra"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Papyra"

Name "${APP} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${APP}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
BrandingText "${APP} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${APP}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "${APP} ${VERSION} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "See copyright.txt"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\papyra.exe"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
    ${IfNot} ${RunningX64}
        MessageBox MB_ICONSTOP "${APP} needs a 64-bit Windows." /SD IDOK
        Abort
    ${EndIf}
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Function un.onInit
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Section "Papyra" SecProgram
    SectionIn RO
    SetOutPath "$INSTDIR"
    ; A file of an earlier version that is no longer shipped would otherwise stay behind.
    RMDir /r "$INSTDIR\platforms"
    RMDir /r "$INSTDIR\styles"
    RMDir /r "$INSTDIR\sqldrivers"
    RMDir /r "$INSTDIR\imageformats"
    File /r "${STAGE}\*.*"

    ; The marker: Papyra keeps each user's data in their own folder, not here.
    FileOpen $0 "$INSTDIR\papyra-installed" w
    FileWrite $0 "Installed by the Papyra installer: each user's data is kept in %LOCALAPPDATA%\Papyra.$\r$\n"
    FileClose $0

    CreateShortCut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\papyra.exe" "" "$INSTDIR\papyra.exe" 0

    WriteUninstaller "$INSTDIR\uninstall.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${APP}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${APP}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\papyra.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    Delete "$SMPROGRAMS\${APP}.lnk"
    ; Only what the installer put there; a database someone kept in the program folder stays.
    Delete "$INSTDIR\*.exe"
    Delete "$INSTDIR\*.dll"
    Delete "$INSTDIR\Varnel.tpl"
    Delete "$INSTDIR\labels.def"
    Delete "$INSTDIR\copyright.txt"
    Delete "$INSTDIR\papyra-installed"
    RMDir /r "$INSTDIR\platforms"
    RMDir /r "$INSTDIR\styles"
    RMDir /r "$INSTDIR\sqldrivers"
    RMDir /r "$INSTDIR\imageformats"
    RMDir /r "$INSTDIR\slideshow"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
