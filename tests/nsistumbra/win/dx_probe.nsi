; A silent installer that writes what the plug-in answers, one line "call: answer" per
; call, to ${RESULTS}. Built by makensis_test.py.

Name "nsistumbra probe"
OutFile "${OUTFILE}"
SilentInstall silent
RequestExecutionLevel user

!include nsistumbra.nsh

!macro NeedDxVer REQUIREMENT
    Push "below"
    Push "${REQUIREMENT}"
    nsistumbra::needdxver
    Pop $0
    FileWrite $9 "needdxver ${REQUIREMENT}: $0$\r$\n"
!macroend

!macro NeedDxVer2 REQUIREMENT
    System::Call "$PLUGINSDIR\nsistumbra.dll::needdxver2(m '${REQUIREMENT}') i .r0 ?c"
    FileWrite $9 "needdxver2 ${REQUIREMENT}: $0$\r$\n"
!macroend

Section
    FileOpen $9 "${RESULTS}" w
    ; The LogicLib tests first, so they have to put the plug-in into $PLUGINSDIR
    ; themselves; the one-entry case below sees whether they left the stack as it was.
    StrCpy $0 "false"
    ${If} ${DirectXAtLeast} "90003"
        StrCpy $0 "true"
    ${EndIf}
    FileWrite $9 "DirectXAtLeast 90003: $0$\r$\n"
    StrCpy $0 "false"
    ${If} ${IsWindowsNT}
        StrCpy $0 "true"
    ${EndIf}
    FileWrite $9 "IsWindowsNT: $0$\r$\n"

    !insertmacro NeedDxVer 90003
    !insertmacro NeedDxVer 90004
    !insertmacro NeedDxVer 90000
    !insertmacro NeedDxVer2 90003
    !insertmacro NeedDxVer2 90004
    !insertmacro NeedDxVer2 90000

    ; dxversion and its macro take nothing: the entry below the answer is still there.
    Push "below"
    nsistumbra::dxversion
    Pop $0
    Pop $1
    FileWrite $9 "dxversion: $0 $1$\r$\n"
    Push "below"
    ${DirectXVersion} $0
    Pop $1
    FileWrite $9 "DirectXVersion: $0 $1$\r$\n"

    ; One entry only: it is taken, and "err" is left alone on the stack.
    Push "90003"
    nsistumbra::needdxver
    Pop $0
    ClearErrors
    Pop $1
    IfErrors 0 +3
    FileWrite $9 "one-entry: $0 empty$\r$\n"
    Goto +2
    FileWrite $9 "one-entry: $0 more$\r$\n"

    System::Call "$PLUGINSDIR\nsistumbra.dll::thisiswinnt2() i .r0 ?c"
    FileWrite $9 "thisiswinnt2: $0$\r$\n"
    FileClose $9
SectionEnd
