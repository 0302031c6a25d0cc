; The German setup program of Möwenschuss for 64-bit Windows, made by
; cmake/windows.cmake with Debian's NSIS:
;   makensis -INPUTCHARSET UTF8 -DVERSION=1.0.0 -DSTAGE=DIR -DICON=FILE.ico
;            -DOUTFILE=FILE.exe moewenschuss.nsi
; STAGE is the folder of the zip (the program, LIESMICH.txt and the licences).
;
; An administrator installs for every user into Program Files, everybody else
; for himself into his own programs folder; /CURRENTUSER makes an
; administrator's install his own too, /ALLUSERS insists on one for every
; user. Silent: /S, and /D=FOLDER last.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true
ManifestSupportedOS all
RequestExecutionLevel highest

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh

!define PRODUCT "Möwenschuss"
!define PUBLISHER "Möwenschuss-Team"
!define EXE "moewenschuss.exe"
!define UNINSTALLER "Deinstallieren.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Moewenschuss"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1031 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1031 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1031 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1031 "FileDescription" "${PRODUCT} ${VERSION} – Installation"
VIAddVersionKey /LANG=1031 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1031 "LegalCopyright" "© 2026 ${PUBLISHER}, MIT-Lizenz"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\LIESMICH.txt"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "LIESMICH.txt anzeigen"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE}/LICENSE.txt"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "German"

; Whether this run installs for every user (HKLM, Program Files, the common
; Start menu) or for the one who runs it.
Var AllUsers
; The folder of an installation that is already there, or "".
Var Previous

Function .onInit
  SetRegView 64
  StrCpy $AllUsers 0
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 == "Admin"
    StrCpy $AllUsers 1
  ${EndIf}
  ${GetParameters} $1
  ClearErrors
  ${GetOptions} $1 "/CURRENTUSER" $2
  ${IfNot} ${Errors}
    StrCpy $AllUsers 0
  ${EndIf}
  ClearErrors
  ${GetOptions} $1 "/ALLUSERS" $2
  ${IfNot} ${Errors}
    ${If} $0 != "Admin"
      MessageBox MB_ICONSTOP|MB_OK "Für alle Benutzer kann nur ein Administrator installieren. Starten Sie das Installationsprogramm als Administrator oder ohne /ALLUSERS." /SD IDOK
      SetErrorLevel 2
      Quit
    ${EndIf}
    StrCpy $AllUsers 1
  ${EndIf}
  ${If} $AllUsers == 1
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}
  ${If} $AllUsers == 1
    ReadRegStr $Previous HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${Else}
    ReadRegStr $Previous HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${EndIf}
  ; /D=FOLDER has set $INSTDIR already; otherwise an update goes where the
  ; game is, a first install into the usual programs folder.
  ${If} $INSTDIR == ""
    ${If} $Previous != ""
      StrCpy $INSTDIR $Previous
    ${ElseIf} $AllUsers == 1
      StrCpy $INSTDIR "$PROGRAMFILES64\${PRODUCT}"
    ${Else}
      StrCpy $INSTDIR "$LOCALAPPDATA\Programs\${PRODUCT}"
    ${EndIf}
  ${EndIf}
FunctionEnd

; The files this setup program puts into the game's folder; the uninstaller
; removes these and nothing else, so a high-score table (or anything else of
; the player's) in the folder stays.
!macro RemoveGameFiles folder
  Delete "${folder}\${EXE}"
  Delete "${folder}\LIESMICH.txt"
  Delete "${folder}\LICENSE.txt"
  Delete "${folder}\Liberation-Schriften-Lizenz.txt"
!macroend

; The game's entry in "Apps" (Settings) and "Programs and Features"; $1 is the
; size of its folder in KiB.
!macro WriteUninstallEntry root
  WriteRegStr ${root} "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr ${root} "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr ${root} "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr ${root} "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE},0"
  WriteRegStr ${root} "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr ${root} "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr ${root} "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD ${root} "${UNINSTALL_KEY}" "EstimatedSize" $1
  WriteRegDWORD ${root} "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD ${root} "${UNINSTALL_KEY}" "NoRepair" 1
!macroend

Section "${PRODUCT}" SectionGame
  SectionIn RO
  ; An older installation is removed first by its own uninstaller, wherever
  ; it is, so that there is only ever one game in "Apps" and in the Start menu.
  ${If} $Previous != ""
  ${AndIf} ${FileExists} "$Previous\${UNINSTALLER}"
    ExecWait '"$Previous\${UNINSTALLER}" /S _?=$Previous' $0
    ${If} $0 != 0
      MessageBox MB_ICONSTOP|MB_OK "Die vorhandene Installation in $Previous konnte nicht entfernt werden (Status $0). Bitte deinstallieren Sie sie zuerst unter „Apps“." /SD IDOK
      Abort "Die vorhandene Installation konnte nicht entfernt werden."
    ${EndIf}
    ; Run from its folder (_?=), the old uninstaller cannot delete itself.
    Delete "$Previous\${UNINSTALLER}"
    RMDir "$Previous"
  ${EndIf}

  SetOutPath "$INSTDIR"
  ClearErrors
  File "${STAGE}/${EXE}"
  File "${STAGE}/LIESMICH.txt"
  File "${STAGE}/LICENSE.txt"
  File "${STAGE}/Liberation-Schriften-Lizenz.txt"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  ${If} ${Errors}
    MessageBox MB_ICONSTOP|MB_OK "Die Dateien konnten nicht nach $INSTDIR geschrieben werden. Bitte wählen Sie einen Ordner, in den Sie schreiben dürfen." /SD IDOK
    Abort "Die Dateien konnten nicht geschrieben werden."
  ${EndIf}

  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0 \
    SW_SHOWNORMAL "" "Das Arcade-Schießspiel mit den Möwen"

  ${GetSize} "$INSTDIR" "/S=0K" $1 $2 $3
  ${If} $AllUsers == 1
    !insertmacro WriteUninstallEntry HKLM
  ${Else}
    !insertmacro WriteUninstallEntry HKCU
  ${EndIf}
SectionEnd

Section "Verknüpfung auf dem Desktop" SectionDesktop
  CreateShortcut "$DESKTOP\${PRODUCT}.lnk" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0
SectionEnd

Function un.onInit
  SetRegView 64
  ; The uninstaller works in the mode the installation was made in: for every
  ; user where the machine's entry names this folder.
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
    StrCpy $AllUsers 1
    SetShellVarContext all
  ${Else}
    StrCpy $AllUsers 0
    SetShellVarContext current
  ${EndIf}
FunctionEnd

; The players' tables (in the game's folder or in %APPDATA%\moewenschuss) and
; pictures stay: they are theirs, not the installation's.
Section "Uninstall"
  !insertmacro RemoveGameFiles "$INSTDIR"
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  Delete "$DESKTOP\${PRODUCT}.lnk"
  ${If} $AllUsers == 1
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ${Else}
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ${EndIf}
SectionEnd
