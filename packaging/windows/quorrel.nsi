; The Windows installer: the programs of the portable zip, installed for the current user (the
; default, no administrator needed) or for all users, with a Start menu entry, an entry in
; "Installed apps" and an uninstaller that removes all of it.
;
;   makensis -DVERSION=0.2.0 -DSTAGE=<folder with the zip's files> -DICON=<quorrel.ico>
;            -DOUTFILE=<setup.exe> quorrel.nsi
;
; Silent: setup.exe /S installs for the current user, setup.exe /S /AllUsers for all users (as an
; administrator), /D=<folder> picks the folder; uninstall.exe /S removes it again.

; A 64-bit installer for 64-bit programs: it runs where they run.
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true

!define PRODUCT "Quorrel"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorrel"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
Icon "${ICON}"
UninstallIcon "${ICON}"

; Per-user by default, into the user's own programs folder; all users when asked for, or when an
; earlier installation was for all users. The uninstaller finds its mode the same way.
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_DEFAULT_CURRENTUSER
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallLocation"
!include MultiUser.nsh
!include MUI2.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\quorrel.exe"
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey "LegalCopyright" "MIT licence"

; A folder given with /D= comes first: the install mode would otherwise put its default in place.
Var chosenFolder
Function .onInit
    StrCpy $chosenFolder $INSTDIR
    !insertmacro MULTIUSER_INIT
    StrCmp $chosenFolder "" +2
    StrCpy $INSTDIR $chosenFolder
FunctionEnd

Function un.onInit
    !insertmacro MULTIUSER_UNINIT
FunctionEnd

; Each installed file is named here and again in the uninstaller, so that removing Quorrel never
; deletes anything it did not put there, even when the folder chosen held other files.
!macro QUORREL_FILES action
    !insertmacro ${action} "quorrel.exe"
    !insertmacro ${action} "quorrel-dump.exe"
    !insertmacro ${action} "quorrel-pack.exe"
    !insertmacro ${action} "README.txt"
    !insertmacro ${action} "LICENSE.txt"
!macroend
!macro INSTALL_FILE name
    File "${STAGE}\${name}"
!macroend
!macro DELETE_FILE name
    Delete "$INSTDIR\${name}"
!macroend

Section "Quorrel"
    SetOutPath "$INSTDIR"
    !insertmacro QUORREL_FILES INSTALL_FILE
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\quorrel.exe"

    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "Quorrel developers"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quorrel.exe"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" \
        '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" \
        '"$INSTDIR\uninstall.exe" /S /$MultiUser.InstallMode'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    !insertmacro QUORREL_FILES DELETE_FILE
    Delete "$INSTDIR\uninstall.exe"
    ; Only when empty: whatever else the user put in the folder stays.
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
