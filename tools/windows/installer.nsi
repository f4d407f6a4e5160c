; Kelmo for Windows: the program, its manual and the suit-symbol font.
; Built by build-installer.sh:
;   makensis -DEXE=kelmo.exe -DMANUAL=Kelmo-Manual.htm -DFONT=bridge.ttf
;            -DOUT=kelmo-setup.exe [-DVERSION=1.0] installer.nsi
; Silent install: kelmo-setup.exe /S [/D=C:\path\to\folder] (/D last).

!ifndef EXE | MANUAL | FONT | OUT
  !error "EXE, MANUAL, FONT and OUT must be defined"
!endif
!ifndef VERSION
  !define VERSION "1.0"
!endif

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
Name "Kelmo"
OutFile "${OUT}"
; KELMO.INI and the games live beside the program, so the folder must be
; one the user can write to.
InstallDir "$LOCALAPPDATA\Kelmo"
RequestExecutionLevel user
ShowInstDetails show
ShowUninstDetails show

!include "LogicLib.nsh"
!include "WinMessages.nsh"

!define FONTS_KEY "Software\Microsoft\Windows NT\CurrentVersion\Fonts"
!define FONT_VALUE "Bridge (TrueType)"
!define KELMO_KEY "Software\Kelmo"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kelmo"
; The program looks for its manual under this path beside itself.
!define MANUAL_DIR "Bridge\Software\Manuals"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Kelmo"
  SetOutPath "$INSTDIR"
  File "/oname=kelmo.exe" "${EXE}"
  SetOutPath "$INSTDIR\${MANUAL_DIR}"
  File "/oname=Kelmo-Manual.htm" "${MANUAL}"
  Call InstallFont
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; Started in its own folder: that is where it keeps its settings and games.
  SetOutPath "$INSTDIR"
  CreateDirectory "$SMPROGRAMS\Kelmo"
  CreateShortcut "$SMPROGRAMS\Kelmo\Kelmo.lnk" "$INSTDIR\kelmo.exe"
  CreateShortcut "$SMPROGRAMS\Kelmo\Kelmo Manual.lnk" "$INSTDIR\${MANUAL_DIR}\Kelmo-Manual.htm"
  CreateShortcut "$SMPROGRAMS\Kelmo\Uninstall Kelmo.lnk" "$INSTDIR\uninstall.exe"

  WriteRegStr HKCU "${KELMO_KEY}" "InstallDir" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Kelmo"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; The system's font folder when we may write there (an administrator): the
; program's font check looks for it there. Otherwise the user's own font
; folder, registered for the user (Windows 10 1809 and later).
Function InstallFont
  StrCpy $0 "$FONTS\bridge.ttf"
  ClearErrors
  SetOverwrite try
  SetOutPath "$FONTS"
  File "/oname=bridge.ttf" "${FONT}"
  ${IfNot} ${Errors}
    WriteRegStr HKLM "${FONTS_KEY}" "${FONT_VALUE}" "bridge.ttf"
  ${EndIf}
  ${If} ${Errors}
    StrCpy $0 "$LOCALAPPDATA\Microsoft\Windows\Fonts\bridge.ttf"
    ClearErrors
    SetOutPath "$LOCALAPPDATA\Microsoft\Windows\Fonts"
    File "/oname=bridge.ttf" "${FONT}"
    WriteRegStr HKCU "${FONTS_KEY}" "${FONT_VALUE}" "$0"
  ${EndIf}
  SetOverwrite on
  ${If} ${Errors}
    DetailPrint "The font could not be installed: $0"
    SetErrorLevel 2
    Return
  ${EndIf}
  ; Usable at once, without signing out.
  System::Call 'gdi32::AddFontResourceW(w "$0") i'
  SendMessage ${HWND_BROADCAST} ${WM_FONTCHANGE} 0 0 /TIMEOUT=2000
  WriteRegStr HKCU "${KELMO_KEY}" "FontFile" "$0"
FunctionEnd

; Takes away what the installer put there. The user's settings and games
; (KELMO.INI, CLUBNAME.KM, GAMEFILE.KM and the PBN files) stay, and with
; them the folder.
Section "Uninstall"
  Delete "$INSTDIR\kelmo.exe"
  Delete "$INSTDIR\${MANUAL_DIR}\Kelmo-Manual.htm"
  RMDir "$INSTDIR\Bridge\Software\Manuals"
  RMDir "$INSTDIR\Bridge\Software"
  RMDir "$INSTDIR\Bridge"
  Delete "$SMPROGRAMS\Kelmo\Kelmo.lnk"
  Delete "$SMPROGRAMS\Kelmo\Kelmo Manual.lnk"
  Delete "$SMPROGRAMS\Kelmo\Uninstall Kelmo.lnk"
  RMDir "$SMPROGRAMS\Kelmo"

  ReadRegStr $0 HKCU "${KELMO_KEY}" "FontFile"
  ${If} $0 != ""
    System::Call 'gdi32::RemoveFontResourceW(w "$0") i'
    SendMessage ${HWND_BROADCAST} ${WM_FONTCHANGE} 0 0 /TIMEOUT=2000
    Delete /REBOOTOK "$0"
    ${If} $0 == "$FONTS\bridge.ttf"
      DeleteRegValue HKLM "${FONTS_KEY}" "${FONT_VALUE}"
    ${Else}
      DeleteRegValue HKCU "${FONTS_KEY}" "${FONT_VALUE}"
    ${EndIf}
  ${EndIf}

  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  DeleteRegKey HKCU "${KELMO_KEY}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
