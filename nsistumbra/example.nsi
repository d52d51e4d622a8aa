; Example installer using the nsistumbra plug-in. Put nsistumbra.dll in
; Plugins\<flavour>\ of your NSIS folder (x86-ansi, x86-unicode or amd64-unicode) and
; nsistumbra.nsh in its Include folder, or add their folders with !addplugindir and
; !addincludedir.

Name "nsistumbra example"
OutFile "nsistumbra-example.exe"
RequestExecutionLevel user
ShowInstDetails show

!include LogicLib.nsh
!include nsistumbra.nsh

!define REQUIRED_DIRECTX "90003" ; 9.0c, as a packed version in hexadecimal

Section "Check the system"
    ; The LogicLib tests of nsistumbra.nsh: needdxver2 and thisiswinnt2 underneath.
    ; ${DirectXVersion} puts the version they compare into $3 as text (dxversion).
    ${DirectXVersion} $3
    DetailPrint "DirectX $3"
    ${IfNot} ${DirectXAtLeast} "${REQUIRED_DIRECTX}"
        MessageBox MB_OK|MB_ICONEXCLAMATION "This game needs DirectX 9.0c; this computer has $3."
    ${EndIf}
    ${If} ${IsWindowsNT}
        DetailPrint "Windows of the NT family."
    ${EndIf}

    ; needdxver takes the requirement from the top of the stack and one entry below it,
    ; and leaves "ok" or "sorry"; "err" with fewer than two entries. ("err2" would mean
    ; no answer at all, which the file-version fallback never gives.)
    Push "unused"
    Push "${REQUIRED_DIRECTX}"
    nsistumbra::needdxver
    Pop $0
    StrCmp $0 "ok" directx_ok
    StrCmp $0 "sorry" 0 directx_unknown
    DetailPrint "DirectX 9.0c or newer is required."
    Goto directx_done
directx_unknown:
    DetailPrint "The DirectX version could not be checked ($0)."
    Goto directx_done
directx_ok:
    DetailPrint "DirectX is recent enough."
directx_done:

    ; The plain exports are called through the System plug-in from the copy that the
    ; call above extracted; ?c selects the C calling convention they use.
    ; needdxver2 takes an 8-bit string (m) in every flavour: 1 met, 0 not met, -1 when no
    ; DirectX was found at all.
    System::Call "$PLUGINSDIR\nsistumbra.dll::needdxver2(m '${REQUIRED_DIRECTX}') i .r1 ?c"
    DetailPrint "needdxver2: $1"

    System::Call "$PLUGINSDIR\nsistumbra.dll::thisiswinnt2() i .r2 ?c"
    StrCmp $2 "1" 0 +2
    DetailPrint "Windows NT family."
SectionEnd
