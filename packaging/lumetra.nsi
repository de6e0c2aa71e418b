; The Lumetra installer. packaging/CMakeLists.txt runs makensis with the
; version, the publisher, the icon, the output file and the generated list of
; release files (-D...), so nothing here repeats what the build declares.
;
; It installs into the 64-bit programs folder for all users (and into no
; folder outside the programs folders, see CheckProgramsFolder), registers its
; uninstaller in the system's list of programs and offers to make Lumetra the
; current user's screen saver. The uninstaller removes exactly the files and
; registry values the installer wrote; the user's Lumetra.ini and snapshots,
; and any file of the user's own in the program folder, stay.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "${FILE_LIST}"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumetra"
!define DESKTOP_KEY "Control Panel\Desktop"
!define SAVER "lumetra.scr"

Name "Lumetra ${VERSION}"
OutFile "${OUT_FILE}"
InstallDir "$PROGRAMFILES64\Lumetra"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Lumetra ${VERSION}"

; The project records no copyright holder yet, hence no LegalCopyright.
!pragma warning disable 9100
VIProductVersion "${VERSION_MAJOR}.${VERSION_MINOR}.0.0"
VIFileVersion "${VERSION_MAJOR}.${VERSION_MINOR}.0.0"
VIAddVersionKey /LANG=1033 "ProductName" "Lumetra"
VIAddVersionKey /LANG=1033 "CompanyName" "${COMPANY}"
VIAddVersionKey /LANG=1033 "FileDescription" "Lumetra ${VERSION} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_DIRECTORYPAGE_TEXT_TOP "Lumetra runs for every user of this computer, so it goes into a folder that only administrators may change: a folder inside Program Files."
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README.txt"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; $0: 1 when $INSTDIR lies inside the 64-bit or the 32-bit programs folder,
; else 0. Ordinary users may not write there; a folder made elsewhere would
; take the rights of its parent, often open to every user, who could then
; put another program in the place of a saver that runs for everyone.
Function CheckProgramsFolder
  StrCpy $0 0
  StrCpy $1 "$INSTDIR"
  StrLen $4 $1
  ; A ".." would climb out of the programs folder again.
  ${For} $2 0 $4
    StrCpy $3 $1 2 $2
    ${If} $3 == ".."
      Return
    ${EndIf}
  ${Next}
  ${ForEach} $2 1 2 + 1
    ${If} $2 == 1
      StrCpy $3 "$PROGRAMFILES64\"
    ${Else}
      StrCpy $3 "$PROGRAMFILES32\"
    ${EndIf}
    StrLen $5 $3
    StrCpy $6 $1 $5
    ${If} $6 == $3
    ${AndIf} $4 > $5
      StrCpy $0 1
    ${EndIf}
  ${Next}
FunctionEnd

; The directory page takes no folder outside the programs folders; a silent
; install given one (/D=) refuses it with exit code 2 and installs nothing.
Function .onVerifyInstDir
  Call CheckProgramsFolder
  ${If} $0 == 0
    Abort
  ${EndIf}
FunctionEnd

Function .onInit
  Call CheckProgramsFolder
  ${If} $0 == 0
  ${AndIf} ${Silent}
    SetErrorLevel 2
    Quit
  ${EndIf}
FunctionEnd

; The saver's path as the screen-saver setting holds it: the short form where
; the volume has one, since the system starts the saver from this value as
; a command line and the programs folder has a space in its name.
!macro SaverSettingPath result
  GetFullPathName /SHORT ${result} "$INSTDIR\${SAVER}"
  ${If} ${result} == ""
    StrCpy ${result} "$INSTDIR\${SAVER}"
  ${EndIf}
!macroend

Section "Lumetra screen saver" SecProgram
  SectionIn RO
  !insertmacro InstallReleaseFiles
  WriteUninstaller "$INSTDIR\uninstall.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Lumetra ${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${COMPANY}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${SAVER},0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; The offer: on by default, a box on the components page. It applies to the
; user who runs the installer.
Section "Make Lumetra the current screen saver" SecCurrentSaver
  !insertmacro SaverSettingPath $0
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" $0
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
SectionEnd

Section "Uninstall"
  ; Lumetra stops being the screen saver only where it is the current one.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  !insertmacro SaverSettingPath $1
  ${If} $0 == $1
  ${OrIf} $0 == "$INSTDIR\${SAVER}"
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${EndIf}

  !insertmacro RemoveReleaseFiles
  Delete "$INSTDIR\uninstall.exe"
  ; Not recursive: a snapshot the user left here keeps the folder.
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
