# tessaly-setup.exe: puts the desktop companions into the suite's folder, registers the week
# view control, starts larkbell with Windows, and takes it all away again (uninstall.exe).
# Built by CMake (installer/CMakeLists.txt), which defines:
#   VERSION  product version (1.2.3)      BIN   folder of the release files
#   ICON     larkbell's icon (.ico)       OUTFILE  the installer to write
# Command line: /S silent, /D=FOLDER (last), /RESTART (silent: start larkbell again when it
# was running before). Exit status 0 on success, 1 cancelled, 2 failed.
Unicode true
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh

!define PRODUCT "Tessaly"
!define PUBLISHER "Tessaly"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessaly"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define LARKBELL_CLASS "tessalymail!"
# How long larkbell gets to end after its window was asked to close.
!define LARKBELL_END_MS 20000
!define SYNCHRONIZE 0x00100000
!define WAIT_OBJECT_0 0

Name "${PRODUCT}"
OutFile "${OUTFILE}"
# The suite's folder: the alarm file written there by the suite must stay writable by it and
# by the user, which a folder under Program Files is not.
InstallDir "C:\Pomaria"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
# The uninstall entry and the control's registration are machine-wide.
RequestExecutionLevel admin
ShowInstDetails show
BrandingText "Tessaly ${VERSION}"
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Tessaly desktop companions"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "Tessaly desktop companions setup"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "OriginalFilename" "tessaly-setup.exe"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
# The progress page stays, with its details, until 다음 is pressed.
!define MUI_FINISHPAGE_NOAUTOCLOSE
!define MUI_FINISHPAGE_RUN "$INSTDIR\larkbell.exe"
!define MUI_FINISHPAGE_RUN_TEXT "larkbell 실행"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Korean"

Var LarkbellWasRunning

# Ends every running larkbell: its main window is asked to close, then the process is waited
# for (a window that is gone says nothing about files still held). Aborts with status 2 when
# one does not end in time and the user does not retry.
!macro DEFINE_END_LARKBELL prefix
Function ${prefix}EndLarkbell
    StrCpy $LarkbellWasRunning 0
    StrCpy $R9 0
    ${Do}
        FindWindow $R0 "${LARKBELL_CLASS}"
        ${If} $R0 == 0
            ${Break}
        ${EndIf}
        StrCpy $LarkbellWasRunning 1
        DetailPrint "larkbell 종료 중..."
        System::Call 'user32::GetWindowThreadProcessId(p R0, *i .R1)'
        System::Call 'kernel32::OpenProcess(i ${SYNCHRONIZE}, i 0, i R1) p .R2'
        SendMessage $R0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
        ${If} $R2 != 0
            System::Call 'kernel32::WaitForSingleObject(p R2, i ${LARKBELL_END_MS}) i .R3'
            System::Call 'kernel32::CloseHandle(p R2)'
        ${Else}
            # No handle on the process: the window's end is the best sign left.
            StrCpy $R3 1
            StrCpy $R4 0
            waitWindow:
            IsWindow $R0 0 windowGone
            Sleep 250
            IntOp $R4 $R4 + 250
            IntCmp $R4 ${LARKBELL_END_MS} 0 waitWindow
            Goto windowWaited
            windowGone:
            StrCpy $R3 ${WAIT_OBJECT_0}
            windowWaited:
        ${EndIf}
        ${If} $R3 != ${WAIT_OBJECT_0}
            MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
                "larkbell이 종료되지 않았습니다.$\r$\nlarkbell을 종료한 뒤 다시 시도하십시오." \
                /SD IDCANCEL IDRETRY retry
            DetailPrint "larkbell이 종료되지 않았습니다."
            SetErrorLevel 2
            Abort
            retry:
        ${EndIf}
        IntOp $R9 $R9 + 1
    ${LoopUntil} $R9 >= 10
FunctionEnd
!macroend
!insertmacro DEFINE_END_LARKBELL ""
!insertmacro DEFINE_END_LARKBELL "un."

# One file of the release, replaced even when an older one is there; a file that cannot be
# written fails the install instead of leaving the old one in place.
!macro INSTALL_FILE name
    ClearErrors
    File "${BIN}/${name}"
    ${If} ${Errors}
        DetailPrint "${name}: 파일을 쓸 수 없습니다."
        SetErrorLevel 2
        Abort
    ${EndIf}
!macroend

Section "프로그램 파일" SecProgram
    SectionIn RO
    Call EndLarkbell
    SetOutPath "$INSTDIR"
    !insertmacro INSTALL_FILE larkbell.exe
    !insertmacro INSTALL_FILE Glyphpack.dll
    !insertmacro INSTALL_FILE SEPTENA.OCX
    !insertmacro INSTALL_FILE DMND4_50.FLL
    !insertmacro INSTALL_FILE launch-main.exe
    !insertmacro INSTALL_FILE launch-data.exe

    ClearErrors
    RegDLL "$INSTDIR\SEPTENA.OCX"
    ${If} ${Errors}
        DetailPrint "SEPTENA.OCX: 등록하지 못했습니다."
        SetErrorLevel 2
        Abort
    ${EndIf}

    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateDirectory "$SMPROGRAMS\Tessaly"
    CreateShortcut "$SMPROGRAMS\Tessaly\larkbell.lnk" "$INSTDIR\larkbell.exe"
    CreateShortcut "$SMPROGRAMS\Tessaly\Tessaly 제거.lnk" "$INSTDIR\uninstall.exe"
SectionEnd

Section "도구 (pop3stat, fllhost)" SecTools
    SetOutPath "$INSTDIR"
    !insertmacro INSTALL_FILE pop3stat.exe
    !insertmacro INSTALL_FILE fllhost.exe
SectionEnd

Section "larkbell 자동 시작" SecRun
    WriteRegStr HKCU "${RUN_KEY}" "Larkbell" '"$INSTDIR\larkbell.exe"'
SectionEnd

# What an earlier install put there and this one leaves out goes; then the uninstall entry.
Section "-Finish"
    ${IfNot} ${SectionIsSelected} ${SecTools}
        Delete "$INSTDIR\pop3stat.exe"
        Delete "$INSTDIR\fllhost.exe"
    ${EndIf}
    ${IfNot} ${SectionIsSelected} ${SecRun}
        DeleteRegValue HKCU "${RUN_KEY}" "Larkbell"
    ${EndIf}

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\larkbell.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    SectionGetSize ${SecProgram} $0
    ${If} ${SectionIsSelected} ${SecTools}
        SectionGetSize ${SecTools} $1
        IntOp $0 $0 + $1
    ${EndIf}
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0

    # The finish page offers the start; a silent install starts larkbell again only on request.
    ${If} ${Silent}
    ${AndIf} $LarkbellWasRunning == 1
        ${GetParameters} $0
        ClearErrors
        ${GetOptions} $0 "/RESTART" $1
        ${IfNot} ${Errors}
            Exec '"$INSTDIR\larkbell.exe"'
        ${EndIf}
    ${EndIf}
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} \
        "larkbell, 주간 일정 컨트롤(SEPTENA.OCX), DMND4_50.FLL, 실행 도우미 두 개"
    !insertmacro MUI_DESCRIPTION_TEXT ${SecTools} \
        "메일함 확인 도구 pop3stat과 DMND4_50.FLL 시험 도구 fllhost"
    !insertmacro MUI_DESCRIPTION_TEXT ${SecRun} "Windows에 로그인하면 larkbell을 시작합니다."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

# Shortcuts for all users, in the installer and the uninstaller alike.
Function .onInit
    SetShellVarContext all
FunctionEnd

Function un.onInit
    SetShellVarContext all
FunctionEnd

# Everything installed goes; the user's alarm file and settings key stay, and with the alarm
# file the folder.
Section "Uninstall"
    Call un.EndLarkbell
    ${If} ${FileExists} "$INSTDIR\SEPTENA.OCX"
        ClearErrors
        UnRegDLL "$INSTDIR\SEPTENA.OCX"
        ${If} ${Errors}
            DetailPrint "SEPTENA.OCX: 등록을 해제하지 못했습니다."
            SetErrorLevel 2
        ${EndIf}
    ${EndIf}
    !macro REMOVE_FILE name
        ClearErrors
        Delete "$INSTDIR\${name}"
        ${If} ${Errors}
            DetailPrint "${name}: 지우지 못했습니다."
            SetErrorLevel 2
        ${EndIf}
    !macroend
    !insertmacro REMOVE_FILE larkbell.exe
    !insertmacro REMOVE_FILE Glyphpack.dll
    !insertmacro REMOVE_FILE SEPTENA.OCX
    !insertmacro REMOVE_FILE DMND4_50.FLL
    !insertmacro REMOVE_FILE launch-main.exe
    !insertmacro REMOVE_FILE launch-data.exe
    !insertmacro REMOVE_FILE pop3stat.exe
    !insertmacro REMOVE_FILE fllhost.exe
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"

    Delete "$SMPROGRAMS\Tessaly\larkbell.lnk"
    Delete "$SMPROGRAMS\Tessaly\Tessaly 제거.lnk"
    RMDir "$SMPROGRAMS\Tessaly"
    DeleteRegValue HKCU "${RUN_KEY}" "Larkbell"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
