; Kelmo for Windows: the program, its manual and the suit-symbol font.
; Built by build-installer.sh:
;   makensis -DEXE=kelmo.exe -DMANUAL=Kelmo-Manual.htm -DFONT=bridge.ttf
;            -DICON=kelmo.ico -DWIZARD=kelmo-wizard.bmp
;            -DOUT=kelmo-setup.exe [-DVERSION=1.0] installer.nsi
; Silent install: kelmo-setup.exe /S [/D=C:\path\to\folder] (/D last).
; Exit code 0 when Kelmo is installed and can start, 2 when it is not (the
; log and, unless silent, a message say why); a failed install leaves no
; shortcut and no entry in "Apps & features".

!ifndef EXE | MANUAL | FONT | ICON | WIZARD | OUT
  !error "EXE, MANUAL, FONT, ICON, WIZARD and OUT must be defined"
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
; one the user can write to. An install again (an upgrade, a repair) goes
; where the last one went: the club's settings and games are there.
InstallDir "$LOCALAPPDATA\Kelmo"
InstallDirRegKey HKCU "Software\Kelmo" "InstallDir"
; An administrator is asked to elevate, so the suit font can go to every
; user; a standard user installs without being asked, the font for the
; user alone.
RequestExecutionLevel highest
BrandingText "Kelmo ${VERSION}"
; The details stay behind a button: a director reads the pages.
ShowInstDetails hide
ShowUninstDetails hide

!include "LogicLib.nsh"
!include "WinMessages.nsh"
!include "MUI2.nsh"

!define FONTS_KEY "Software\Microsoft\Windows NT\CurrentVersion\Fonts"
!define FONT_VALUE "Bridge (TrueType)"
!define USER_FONTS "$LOCALAPPDATA\Microsoft\Windows\Fonts"
!define KELMO_KEY "Software\Kelmo"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kelmo"
; The program looks for its manual under this path beside itself.
!define MANUAL_DIR "Bridge\Software\Manuals"

Var Why        ; what went wrong, for the log and the message
Var FontFile   ; where Windows has our font; "" when it has none of ours

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${WIZARD}"
!define MUI_UNWELCOMEFINISHPAGE_BITMAP "${WIZARD}"
!define MUI_ABORTWARNING

!define MUI_WELCOMEPAGE_TITLE "Kelmo, the hand-record generator"
!define MUI_WELCOMEPAGE_TEXT "This installs Kelmo on this computer.$\r$\n$\r$\nKelmo keeps the club's settings, games, PBN files and printouts in the folder it is installed in. Installed again, it goes to the same folder, and keeps all of them.$\r$\n$\r$\nClick Next to continue."
!insertmacro MUI_PAGE_WELCOME
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_COMPONENTSPAGE_TEXT_TOP "Kelmo itself is always installed. Untick the desktop shortcut if you do not want one."
!insertmacro MUI_PAGE_COMPONENTS
!define MUI_DIRECTORYPAGE_TEXT_TOP "Kelmo and the club's files go into this folder. It must be one your account can write to; the one proposed is."
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TITLE "Kelmo is installed"
!define MUI_FINISHPAGE_TEXT "Kelmo is installed in $INSTDIR.$\r$\n$\r$\nThe Start menu has Kelmo, the club's files and the manual."
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start Kelmo"
!define MUI_FINISHPAGE_RUN_FUNCTION StartKelmo
!define MUI_FINISHPAGE_SHOWREADME
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Open the club folder"
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION OpenClubFolder
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!define MUI_FINISHPAGE_TITLE "Kelmo is removed"
!define MUI_FINISHPAGE_TEXT "The club's files are kept, in $INSTDIR:$\r$\n$\r$\nthe settings (KELMO.INI, CLUBNAME.KM), the games (GAMEFILE.KM), the PBN files and the printouts (PRINTS).$\r$\n$\r$\nInstall Kelmo again into that folder to go on with them, or keep a copy of the folder."
!insertmacro MUI_UNPAGE_FINISH

!insertmacro MUI_LANGUAGE "English"

; In its own folder: that is where it keeps the club's files.
Function StartKelmo
  SetOutPath "$INSTDIR"
  Exec '"$INSTDIR\kelmo.exe"'
FunctionEnd

Function OpenClubFolder
  ExecShell "open" "$INSTDIR"
FunctionEnd

; A file written, or the install failed. SetOverwrite try (below) makes a
; file that cannot be written an error, never a question or a skip.
!macro PutFile DEST SOURCE
  ClearErrors
  File "/oname=${DEST}" "${SOURCE}"
  ${If} ${Errors}
    StrCpy $Why "${DEST} could not be written."
    Call Fail
  ${EndIf}
!macroend

; Sets $3 to 1 when the file $2 holds the same bytes as the copy of our font
; beside the program: a BRIDGE.TTF of another program is never ours, even
; under our file's name.
!macro DefineIsOurFont PREFIX
Function ${PREFIX}IsOurFont
  StrCpy $3 0
  ClearErrors
  FileOpen $4 "$2" r
  IfErrors done
  FileOpen $5 "$INSTDIR\bridge.ttf" r
  IfErrors close4
  FileSeek $4 0 END $6
  FileSeek $5 0 END $7
  StrCmp $6 $7 0 close5
  FileSeek $4 0 SET
  FileSeek $5 0 SET
  next:
    ClearErrors
    FileReadByte $4 $6
    IfErrors same
    FileReadByte $5 $7
    StrCmp $6 $7 next close5
  same:
    StrCpy $3 1
  close5:
    FileClose $5
  close4:
    FileClose $4
  done:
FunctionEnd
!macroend
!insertmacro DefineIsOurFont ""
!insertmacro DefineIsOurFont "un."

Function Fail
  DetailPrint "Kelmo was not installed: $Why"
  MessageBox MB_ICONSTOP|MB_OK "Kelmo was not installed.$\r$\n$\r$\n$Why$\r$\n$\r$\nKelmo keeps its settings and games beside the program, so it must be installed in a folder that your account can write to, such as $LOCALAPPDATA\Kelmo (the folder this installer suggests). If Kelmo is running, end it first. Then run the installer again." /SD IDOK
  SetErrorLevel 2
  Abort
FunctionEnd

Section "Kelmo" SecKelmo
  SectionIn RO
  SetOverwrite try
  ; A folder we cannot write to fails here, before anything is put anywhere.
  ClearErrors
  CreateDirectory "$INSTDIR"
  FileOpen $0 "$INSTDIR\kelmo-setup.tmp" w
  ${If} ${Errors}
    StrCpy $Why "The folder $INSTDIR cannot be written to."
    Call Fail
  ${EndIf}
  FileClose $0
  Delete "$INSTDIR\kelmo-setup.tmp"

  SetOutPath "$INSTDIR"
  !insertmacro PutFile "$INSTDIR\kelmo.exe" "${EXE}"
  ; The program's own copy of the font: what it loads for itself when
  ; Windows has no usable Bridge font, and how ours is told from others.
  !insertmacro PutFile "$INSTDIR\bridge.ttf" "${FONT}"
  CreateDirectory "$INSTDIR\${MANUAL_DIR}"
  !insertmacro PutFile "$INSTDIR\${MANUAL_DIR}\Kelmo-Manual.htm" "${MANUAL}"
  ClearErrors
  WriteUninstaller "$INSTDIR\uninstall.exe"
  ${If} ${Errors}
    StrCpy $Why "$INSTDIR\uninstall.exe could not be written."
    Call Fail
  ${EndIf}
  Call InstallFont

  ; Started in its own folder: that is where it keeps its settings and games.
  SetOutPath "$INSTDIR"
  CreateDirectory "$SMPROGRAMS\Kelmo"
  CreateShortcut "$SMPROGRAMS\Kelmo\Kelmo.lnk" "$INSTDIR\kelmo.exe"
  CreateShortcut "$SMPROGRAMS\Kelmo\Kelmo club files.lnk" "$INSTDIR"
  CreateShortcut "$SMPROGRAMS\Kelmo\Kelmo Manual.lnk" "$INSTDIR\${MANUAL_DIR}\Kelmo-Manual.htm"
  CreateShortcut "$SMPROGRAMS\Kelmo\Uninstall Kelmo.lnk" "$INSTDIR\uninstall.exe"

  WriteRegStr HKCU "${KELMO_KEY}" "InstallDir" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kelmo.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Kelmo"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  DetailPrint "Kelmo is installed in $INSTDIR."
SectionEnd

Section "Desktop shortcut" SecDesktop
  SetOutPath "$INSTDIR"
  CreateShortcut "$DESKTOP\Kelmo.lnk" "$INSTDIR\kelmo.exe"
SectionEnd

; The font for every user when we may write the system's font folder (an
; administrator), else for this user alone (Windows 10 1809 and later load
; fonts registered under HKCU). A BRIDGE.TTF of another program is left as
; it is, and Kelmo uses it. Where neither place takes ours, the program
; loads its own copy for itself when it starts.
Function InstallFont
  StrCpy $FontFile ""
  StrCpy $1 "$FONTS\bridge.ttf"
  Call PlaceFont
  ${If} $FontFile == "-"
    Return
  ${ElseIf} $FontFile != ""
    ClearErrors
    WriteRegStr HKLM "${FONTS_KEY}" "${FONT_VALUE}" "bridge.ttf"
    ${If} ${Errors}
      ; Not ours to register for everyone, so not there for everyone.
      StrCpy $FontFile ""
    ${Else}
      DetailPrint "The Bridge font is installed for all users: $1"
    ${EndIf}
  ${EndIf}
  ${If} $FontFile == ""
    CreateDirectory "${USER_FONTS}"
    StrCpy $1 "${USER_FONTS}\bridge.ttf"
    Call PlaceFont
    ${If} $FontFile == "-"
      Return
    ${ElseIf} $FontFile != ""
      WriteRegStr HKCU "${FONTS_KEY}" "${FONT_VALUE}" "$1"
      DetailPrint "The Bridge font is installed for you alone: $1"
    ${EndIf}
  ${EndIf}
  ${If} $FontFile == ""
    DetailPrint "The Bridge font could not be installed in Windows; Kelmo loads its own copy ($INSTDIR\bridge.ttf) when it starts."
    Return
  ${EndIf}
  ; Usable at once, without signing out.
  System::Call 'gdi32::AddFontResourceW(w "$FontFile") i'
  SendMessage ${HWND_BROADCAST} ${WM_FONTCHANGE} 0 0 /TIMEOUT=2000
  WriteRegStr HKCU "${KELMO_KEY}" "FontFile" "$FontFile"
FunctionEnd

; Our font into the file $1: $FontFile becomes $1 when ours is there now
; (written, or there from an earlier install), "-" when another program's
; font stands there, "" when the file cannot be written.
Function PlaceFont
  ${If} ${FileExists} "$1"
    StrCpy $2 "$1"
    Call IsOurFont
    ${If} $3 == 1
      StrCpy $FontFile "$1"
    ${Else}
      StrCpy $FontFile "-"
      DetailPrint "Another program's BRIDGE.TTF is installed ($1): it is left as it is, and Kelmo uses it."
    ${EndIf}
    Return
  ${EndIf}
  ClearErrors
  File "/oname=$1" "${FONT}"
  ${If} ${Errors}
    StrCpy $FontFile ""
  ${Else}
    StrCpy $FontFile "$1"
  ${EndIf}
FunctionEnd

; Takes away what the installer put there. The user's settings and games
; (KELMO.INI, CLUBNAME.KM, GAMEFILE.KM and the PBN files) stay, and with
; them the folder. The font goes only while its bytes are still ours.
Section "Uninstall"
  ReadRegStr $0 HKCU "${KELMO_KEY}" "FontFile"
  ${If} $0 != ""
    StrCpy $2 "$0"
    Call un.IsOurFont
    ${If} $3 == 1
      System::Call 'gdi32::RemoveFontResourceW(w "$0") i'
      SendMessage ${HWND_BROADCAST} ${WM_FONTCHANGE} 0 0 /TIMEOUT=2000
      Delete /REBOOTOK "$0"
      ${If} $0 == "$FONTS\bridge.ttf"
        DeleteRegValue HKLM "${FONTS_KEY}" "${FONT_VALUE}"
      ${Else}
        DeleteRegValue HKCU "${FONTS_KEY}" "${FONT_VALUE}"
      ${EndIf}
    ${Else}
      DetailPrint "$0 is not Kelmo's font: it is left as it is."
    ${EndIf}
  ${EndIf}

  Delete "$INSTDIR\kelmo.exe"
  Delete "$INSTDIR\bridge.ttf"
  Delete "$INSTDIR\${MANUAL_DIR}\Kelmo-Manual.htm"
  RMDir "$INSTDIR\Bridge\Software\Manuals"
  RMDir "$INSTDIR\Bridge\Software"
  RMDir "$INSTDIR\Bridge"
  Delete "$SMPROGRAMS\Kelmo\Kelmo.lnk"
  Delete "$SMPROGRAMS\Kelmo\Kelmo club files.lnk"
  Delete "$SMPROGRAMS\Kelmo\Kelmo Manual.lnk"
  Delete "$SMPROGRAMS\Kelmo\Uninstall Kelmo.lnk"
  RMDir "$SMPROGRAMS\Kelmo"
  Delete "$DESKTOP\Kelmo.lnk"

  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  DeleteRegKey HKCU "${KELMO_KEY}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DetailPrint "The club's files are kept in $INSTDIR."
SectionEnd
