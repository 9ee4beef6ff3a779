; SPDX-License-Identifier: GPL-3.0-or-later
; The per-user installer. scripts/windows/package.sh defines VERSION, FILES and UNINSTALL_FILES
; (the staged files as File and Delete lines), SIZE_KIB and OUTFILE.
Unicode true
Target amd64-unicode
RequestExecutionLevel user
SetCompressor /SOLID lzma

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Brinemoor"

Name "Brinemoor ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Brinemoor"
Icon "${ICON}"
UninstallIcon "${ICON}"
ShowInstDetails show
ShowUninstDetails show

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; A running copy keeps its files from being replaced: the user closes it and retries, or the
; installation stops (at once in silent mode) before anything is changed.
!macro REFUSE_WHILE_RUNNING
    IfFileExists "$INSTDIR\brinemoor.exe" 0 not_running
    retry:
    ClearErrors
    FileOpen $0 "$INSTDIR\brinemoor.exe" a
    IfErrors 0 closed
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "Brinemoor is running. Close it, then choose Retry." /SD IDCANCEL IDRETRY retry
    SetErrorLevel 2
    Quit
    closed:
    FileClose $0
    not_running:
!macroend

Section "Brinemoor"
    !insertmacro REFUSE_WHILE_RUNNING
    !include "${FILES}"
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    SetShellVarContext current
    CreateShortCut "$SMPROGRAMS\Brinemoor.lnk" "$INSTDIR\brinemoor.exe" "" "$INSTDIR\brinemoor.ico"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Brinemoor"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "The Brinemoor developers"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\brinemoor.ico"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KIB}
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Removes what the installer put there and nothing else: the bookmarks and settings under
; "VB and VBA Program Settings" stay, and so does any file the user added to the folder.
Section "Uninstall"
    !insertmacro REFUSE_WHILE_RUNNING
    !include "${UNINSTALL_FILES}"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR\platforms"
    RMDir "$INSTDIR\styles"
    RMDir "$INSTDIR"
    SetShellVarContext current
    Delete "$SMPROGRAMS\Brinemoor.lnk"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
