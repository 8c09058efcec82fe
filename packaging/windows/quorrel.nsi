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
; administrator), /AddToPath adds the folder to the PATH (the user's, or the system's for all
; users), /D=<folder> (last) picks the folder. uninstall.exe /S removes it again, but returns at
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
!include FileFunc.nsh
!include LogicLib.nsh
!include Sections.nsh
!include WinMessages.nsh
!include WordFunc.nsh

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
; Then the notices of the libraries compiled and linked into the programs, for information too.
!define MUI_PAGE_HEADER_TEXT "Third-party notices"
!define MUI_PAGE_HEADER_SUBTEXT "The programs contain libraries of others, under their own licences."
!define MUI_LICENSEPAGE_TEXT_TOP "Each library's version, licence and notice; also installed as THIRD-PARTY-NOTICES.txt."
!define MUI_LICENSEPAGE_TEXT_BOTTOM "These licences ask nothing of you to use ${PRODUCT}; their conditions apply to copies you pass on. $_CLICK"
!define MUI_LICENSEPAGE_BUTTON "$(^NextBtn)"
!insertmacro MUI_PAGE_LICENSE "${STAGE}\THIRD-PARTY-NOTICES.txt"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_COMPONENTS
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
    !insertmacro ${action} "THIRD-PARTY-NOTICES.txt"
!macroend
!macro INSTALL_FILE name
    File "${STAGE}\${name}"
!macroend
!macro DELETE_FILE name
    Delete "$INSTDIR\${name}"
!macroend
; The demo table, in a folder of its own: quorrel-dump's paths, or the folder dropped on the window.
!macro DEMO_FILES action
    !insertmacro ${action} "demo\skills.idx"
    !insertmacro ${action} "demo\skills.mul"
    !insertmacro ${action} "demo\demo-skills.txt"
!macroend

; The PATH that /AddToPath and the option on the components page change: the user's own for an
; installation for the current user, the system's for one for all users. $0 is set to the key.
!macro ENVIRONMENT_KEY un
Function ${un}environmentKey
    ${If} $MultiUser.InstallMode == "AllUsers"
        StrCpy $0 "SYSTEM\CurrentControlSet\Control\Session Manager\Environment"
    ${Else}
        StrCpy $0 "Environment"
    ${EndIf}
FunctionEnd
!macroend
!insertmacro ENVIRONMENT_KEY ""
!insertmacro ENVIRONMENT_KEY "un."

; Reads the PATH under the key in $0 into $1, with $2 "read", "none" when there is none, or
; "unsafe" when it is not a string or too long for the installer's strings (NSIS_MAX_STRLEN):
; written back, it would lose its end, so it is never changed then.
!macro READ_PATH un
Function ${un}readPath
    ClearErrors
    ReadRegStr $1 SHCTX $0 "Path"
    StrCpy $2 "read"
    ${If} ${Errors}
        StrCpy $2 "none"
        StrCpy $3 0
        ${Do}
            ClearErrors
            EnumRegValue $4 SHCTX $0 $3
            ${IfThen} $4 == "Path" ${|} StrCpy $2 "unsafe" ${|}
            IntOp $3 $3 + 1
        ${LoopUntil} $4 == ""
    ${EndIf}
    StrLen $3 $1
    StrLen $4 $INSTDIR
    IntOp $3 $3 + $4
    ${IfThen} $3 >= ${NSIS_MAX_STRLEN} ${|} StrCpy $2 "unsafe" ${|}
FunctionEnd
!macroend
!insertmacro READ_PATH ""
!insertmacro READ_PATH "un."

Section "Quorrel" quorrelSection
    SectionIn RO
    SetOutPath "$INSTDIR\demo"
    !insertmacro DEMO_FILES INSTALL_FILE
    ; The folder the Start menu entry starts the program in.
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

; Off unless chosen: a PATH is the user's, and most players start the window from the menu. Only
; a folder it did not hold already is added, and only then does the uninstaller take it out.
Section /o "Add to PATH" pathSection
    Call environmentKey
    Call readPath
    ${If} $2 == "unsafe"
        MessageBox MB_OK|MB_ICONEXCLAMATION "PATH is too long for this installer to change without \
            losing part of it, so it was left as it was. To use quorrel-dump and quorrel-pack from \
            any folder, add $INSTDIR to it yourself." /SD IDOK
        Return
    ${EndIf}
    ${If} $1 == ""
        StrCpy $3 $INSTDIR
    ${Else}
        ${WordAdd} $1 ";" "+$INSTDIR" $3
    ${EndIf}
    ${If} $3 != $1
        WriteRegExpandStr SHCTX $0 "Path" $3
        WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "AddedToPath" 1
        ; Programs started from now on see it.
        SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=5000
    ${EndIf}
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${quorrelSection} "The window, quorrel-dump, quorrel-pack and a demo table to try them on."
    !insertmacro MUI_DESCRIPTION_TEXT ${pathSection} "Adds the programs' folder to your PATH (for all users, the system's), so that quorrel-dump and quorrel-pack run in any folder. Uninstalling takes it out again."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

; A folder given with /D= comes first: the install mode would otherwise put its default in place.
; /AddToPath chooses the PATH option, for a silent installation.
Var chosenFolder
Function .onInit
    StrCpy $chosenFolder $INSTDIR
    !insertmacro MULTIUSER_INIT
    StrCmp $chosenFolder "" +2
    StrCpy $INSTDIR $chosenFolder
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/AddToPath" $1
    ${IfNot} ${Errors}
        !insertmacro SelectSection ${pathSection}
    ${EndIf}
FunctionEnd

Section "Uninstall"
    ; The folder comes out of PATH only when the installer put it there.
    ReadRegDWORD $5 SHCTX "${UNINSTALL_KEY}" "AddedToPath"
    ${If} $5 == 1
        Call un.environmentKey
        Call un.readPath
        ${If} $2 == "read"
            ${WordAdd} $1 ";" "-$INSTDIR" $3
            ${If} $3 == ""
                DeleteRegValue SHCTX $0 "Path"
            ${Else}
                WriteRegExpandStr SHCTX $0 "Path" $3
            ${EndIf}
            SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=5000
        ${EndIf}
    ${EndIf}
    !insertmacro QUORREL_FILES DELETE_FILE
    !insertmacro DEMO_FILES DELETE_FILE
    RMDir "$INSTDIR\demo"
    ; Run in place (_?=), the uninstaller cannot delete its own file: the folder then stays too,
    ; for the caller to remove.
    Delete "$INSTDIR\uninstall.exe"
    ; Only when empty: whatever else the user put in the folder stays.
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
