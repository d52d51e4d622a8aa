; nsistumbra.nsh: LogicLib tests and the DirectX version's text over the nsistumbra
; plug-in, for every installer flavour (x86-ansi, x86-unicode, amd64-unicode).
;
;   !include nsistumbra.nsh
;
;   ${If} ${DirectXAtLeast} "90003"   ; DirectX 9.0c or newer was found
;   ${If} ${IsWindowsNT}              ; Windows of the NT family (NT 4, 2000, XP, later)
;   ${DirectXVersion} $0              ; the installed DirectX as text: "9.0c", "8.1", "0.0"
;
; The tests work with ${If}, ${IfNot}, ${Unless}, ${AndIf}, ${OrIf}, ${ElseIf} and the loops.
; ${DirectXAtLeast} takes a requirement as needdxver2 reads it (major, minor and letter
; as one hexadecimal number) and is false when DirectX is older or when nothing could
; be found. Both change no register and leave the stack as it was. ${DirectXVersion}
; asks the same query as ${DirectXAtLeast} and changes no register but its output.

!ifndef NSISTUMBRA_NSH
!define NSISTUMBRA_NSH

!include LogicLib.nsh

; System::Call finds the plug-in in $PLUGINSDIR only after a nsistumbra:: call has put
; it there. thisiswinnt2 called that way is harmless: a C function ignores the plug-in
; arguments, which the caller removes, and it reads the Windows version only.
!macro _NsistumbraCall CALL
    !insertmacro _LOGICLIB_TEMP
    nsistumbra::thisiswinnt2
    System::Call "$PLUGINSDIR\nsistumbra.dll::${CALL} i .s ?c"
    Pop $_LOGICLIB_TEMP
!macroend

!macro _DirectXAtLeast _a _b _t _f
    ; needdxver2 takes an 8-bit string (m) in every flavour: 1 met, 0 older, -1 unknown.
    !insertmacro _NsistumbraCall "needdxver2(m '${_b}')"
    IntCmp $_LOGICLIB_TEMP 1 `${_t}` `${_f}` `${_f}`
!macroend
!define DirectXAtLeast `"" DirectXAtLeast`

!macro _IsWindowsNT _a _b _t _f
    !insertmacro _NsistumbraCall "thisiswinnt2()"
    IntCmp $_LOGICLIB_TEMP 1 `${_t}` `${_f}` `${_f}`
!macroend
!define IsWindowsNT `"" IsWindowsNT ""`

!macro _DirectXVersion _OUTPUT
    nsistumbra::dxversion
    Pop ${_OUTPUT}
!macroend
!define DirectXVersion `!insertmacro _DirectXVersion`

!endif
