; The Windows installer: the programs of the portable zip, installed for the current user (the
; default, no administrator needed) or for all users, with a Start menu entry, an entry in
; "Installed apps" and an uninstaller that removes all of it.
;
;   makensis -DRELEASE=<release.nsh> -DSTAGE=<folder with the zip's files> -DICON=<quorrel.ico>
;            -DWIZARD_BITMAP=<164x314 BMP> -DOUTFILE=<setup.exe> quorrel.nsi
;
; release.nsh, written by the Windows build (cmake/WindowsPackage.cmake), defines VERSION, MAKER
; and COPYRIGHT. The installer is made reproducibly: NSIS keeps each file's time, so scripts/package
; gives the staged files the release's time.
;
; Silent: setup.exe /S installs for the current user, setup.exe /S /AllUsers for all users (as an
; administrator), /D=<folder> picks the folder. uninstall.exe /S removes it again, but returns at
; once and goes on from a copy of itself in Temp (NSIS's way to delete its own file); a script that
; must wait runs it in place, uninstall.exe /S _?=<folder>, and deletes uninstall.exe and the
; folder itself after it (README, "Installing").

; A 64-bit installer for 64-bit programs: it runs where they run.
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true

!include "${RELEASE}"
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
; Our own picture on the welcome and finish pages, and our own line where NSIS puts its name.
!define MUI_WELCOMEFINISHPAGE_BITMAP "${WIZARD_BITMAP}"
BrandingText "${PRODUCT} ${VERSION}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\quorrel.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT}"
; NSIS's own welcome text asks to close other programs, for installers that replace system files.
!define MUI_WELCOMEPAGE_TEXT "This installs ${PRODUCT} ${VERSION}, which shows the skill table of a game client's skills.idx and skills.mul, for you alone or for all users of this computer.$\r$\n$\r$\n$_CLICK"
!insertmacro MUI_PAGE_WELCOME
; The MIT licence asks no agreement to use the program: it is shown for information, with "Next".
!define MUI_PAGE_HEADER_TEXT "Licence"
!define MUI_PAGE_HEADER_SUBTEXT "${PRODUCT} is free software under the MIT licence."
!define MUI_LICENSEPAGE_TEXT_TOP "Press Page Down to see the rest of the licence."
!define MUI_LICENSEPAGE_TEXT_BOTTOM "The MIT licence asks nothing of you to use ${PRODUCT}; its one condition, keeping this notice, applies to copies you pass on. $_CLICK"
!define MUI_LICENSEPAGE_BUTTON "$(^NextBtn)"
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
; The installer and the uninstaller it writes carry the same version resource, so its description
; fits both.
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} installer and uninstaller"
VIAddVersionKey "CompanyName" "${MAKER}"
VIAddVersionKey "LegalCopyright" "${COPYRIGHT}"

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

; The plain form runs from a copy of the uninstaller in Temp, which NSIS leaves for Windows to delete
; when it restarts, asking for the folder first: that fails while the copy is in it, and the empty
; folder would stay for good. Asked again in the order that works, both go at the restart.
Function un.onUninstSuccess
    StrCmp $EXEDIR $INSTDIR inPlace
    Delete /REBOOTOK "$EXEPATH"
    RMDir /REBOOTOK "$EXEDIR"
    inPlace:
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

Section "Quorrel" quorrelSection
    SetOutPath "$INSTDIR"
    !insertmacro QUORREL_FILES INSTALL_FILE
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\quorrel.exe"

    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${MAKER}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quorrel.exe"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" \
        '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" \
        '"$INSTDIR\uninstall.exe" /S /$MultiUser.InstallMode'
    ; The size "Installed apps" shows, in KiB: the files this section installs.
    SectionGetSize ${quorrelSection} $0
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    !insertmacro QUORREL_FILES DELETE_FILE
    ; Run in place (_?=), the uninstaller cannot delete its own file: the folder then stays too,
    ; for the caller to remove.
    Delete "$INSTDIR\uninstall.exe"
    ; Only when empty: whatever else the user put in the folder stays.
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
