; SPDX-License-Identifier: GPL-3.0-or-later
; The Windows installer of Brinemoor: for the user alone, without administrator rights, into
; %LOCALAPPDATA%\Programs\Brinemoor, with a Start-menu shortcut and an entry in "Apps & features".
; scripts/windows/package.sh makes it and defines:
;   VERSION          the project's version (CMakeLists.txt)
;   INSTALL_FILES    an include of SetOutPath and File lines: every file the program needs
;   UNINSTALL_FILES  an include of Delete and RMDir lines for those very files and their folders
;   ICON             brinemoor.ico, which is among the installed files as well
;   OUTFILE          the installer to write
; The player's bookmarks and settings, under HKCU\Software\VB and VBA Program Settings\Brinemoor,
; are the program's: neither the installer nor the uninstaller touches that key.

Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Brinemoor"
!define LINK_KEY "Software\Classes\cod"
!define PUBLISHER "The Brinemoor developers"
; How long a silent run waits for a running Brinemoor to end before it gives up, in half seconds:
; an update started as the program quits goes on, one started beside a player's game does not.
!define SILENT_WAIT 20

Name "Brinemoor"
OutFile "${OUTFILE}"
; Over an earlier installation, into its folder.
InstallDir "$LOCALAPPDATA\Programs\Brinemoor"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Brinemoor ${VERSION}"

!include "MUI2.nsh"
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\brinemoor.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "Brinemoor"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "Brinemoor ${VERSION} setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "${PUBLISHER}, GNU GPL version 3 or later"

; Windows keeps the file of a running program from being opened for writing (and Wine does so
; too), so brinemoor.exe that cannot be opened so is running: its files could not be replaced or
; removed. Asks to close it, Retry or Cancel; silent, waits SILENT_WAIT half seconds and then ends
; with exit code 2, before a single file is written or removed. Opening it to append writes
; nothing.
!macro DEFINE_WAIT_UNTIL_CLOSED un
Function ${un}WaitUntilClosed
    StrCpy $1 0
    check:
    IfFileExists "$INSTDIR\brinemoor.exe" 0 closed
    ClearErrors
    FileOpen $0 "$INSTDIR\brinemoor.exe" a
    IfErrors running
    FileClose $0
    Goto closed
    running:
    IfSilent 0 ask
    IntCmp $1 ${SILENT_WAIT} give_up
    IntOp $1 $1 + 1
    Sleep 500
    Goto check
    ask:
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "Brinemoor is running. Close it, then choose Retry." IDRETRY check
    give_up:
    SetErrorLevel 2
    Quit
    closed:
FunctionEnd
!macroend
!insertmacro DEFINE_WAIT_UNTIL_CLOSED ""
!insertmacro DEFINE_WAIT_UNTIL_CLOSED "un."

Section "Brinemoor"
    SetShellVarContext current
    Call WaitUntilClosed
    !include "${INSTALL_FILES}"
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortCut "$SMPROGRAMS\Brinemoor.lnk" "$INSTDIR\brinemoor.exe" "" "$INSTDIR\brinemoor.ico" 0

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Brinemoor"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\brinemoor.ico"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ; A click on a cod:// join link starts Brinemoor with the link.
    WriteRegStr HKCU "${LINK_KEY}" "" "URL:Call of Duty server"
    WriteRegStr HKCU "${LINK_KEY}" "URL Protocol" ""
    WriteRegStr HKCU "${LINK_KEY}\DefaultIcon" "" "$INSTDIR\brinemoor.ico"
    WriteRegStr HKCU "${LINK_KEY}\shell\open\command" "" '"$INSTDIR\brinemoor.exe" "%1"'
    ; The section's files, as makensis summed them, and the uninstaller, in KiB rounded up.
    SectionGetSize 0 $0
    FileOpen $1 "$INSTDIR\uninstall.exe" r
    FileSeek $1 0 END $2
    FileClose $1
    IntOp $2 $2 + 1023
    IntOp $2 $2 / 1024
    IntOp $0 $0 + $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
    SetShellVarContext current
    Call un.WaitUntilClosed
    !include "${UNINSTALL_FILES}"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\Brinemoor.lnk"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    ; Only while the links still lead here: another program may have taken them since.
    ReadRegStr $0 HKCU "${LINK_KEY}\shell\open\command" ""
    StrCmp $0 '"$INSTDIR\brinemoor.exe" "%1"' 0 +2
        DeleteRegKey HKCU "${LINK_KEY}"
SectionEnd
