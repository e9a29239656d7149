#!/usr/bin/env bash
# Runs the assembled demo bundle under Wine and reports what happened.
# Called by ./dev demo with the bundle folder (Setup.exe beside SetupData),
# the folder for the demo's output (screenshots of the wizard's pages) and
# the wizard_driver program that clicks through the wizard; WINEPREFIX and
# DISPLAY are already set up by ./dev.
set -uo pipefail
DEMO="${1:?usage: run-demo.sh BUNDLE_FOLDER [OUTPUT_FOLDER] [WIZARD_DRIVER]}"
DEMO="$(cd "$DEMO" && pwd)"
OUTPUT="${2:-$DEMO/../demo-output}"
DRIVER="${3:-$DEMO/../demo-tools/wizard_driver.exe}"
mkdir -p "$OUTPUT"
OUTPUT="$(cd "$OUTPUT" && pwd)"
cd "$DEMO"

to_unix() { # Windows path -> path in this prefix
  winepath -u "$1" 2>/dev/null
}

run_setup() {
  local title="$1"; shift
  echo
  echo "=== $title: Setup.exe $*"
  local started rc
  started=$(date +%s.%N)
  # A run that waits on a window nobody answers must not hold the demo forever.
  timeout 300 wine ./Setup.exe "$@" </dev/null >/dev/null 2>&1
  rc=$?
  printf 'exit code: %s (%.1f s)\n' "$rc" "$(echo "$(date +%s.%N) - $started" | bc)"
}

show_usage() {
  echo
  echo "=== Usage text, as a console user sees it: cmd /c Setup.exe /?"
  wine cmd /c "Setup.exe /?" </dev/null 2>/dev/null | tr -d '\000'
  echo
}

log_path() {
  # The demo's SetupConfig.xml puts the log under the common application data folder.
  local name
  name=$(sed -n 's/.*<Logfile[^>]*Name="\([^"]*\)".*/\1/p' SetupData/Configuration/SetupConfig.xml | head -1)
  local common
  common=$(wine cmd /c echo %ProgramData% </dev/null 2>/dev/null | tr -d '\r')
  name="${name//%CommonAppDataFolder%/$common}"
  name="${name//%commonappdatafolder%/$common}"
  to_unix "$name"
}

show_log() {
  local log
  log=$(log_path)
  echo "log file: $log"
  if [ -f "$log" ]; then
    echo "--- summary lines of this run's part of the log"
    iconv -f UTF-16LE -t UTF-8 "$log" 2>/dev/null | tr -d '\r' | sed 's/^\xEF\xBB\xBF//' |
      awk '/logging started/ { part = "" } { part = part $0 "\n" } END { printf "%s", part }' |
      grep -E "logging (started|stopped)|Command Line Parameters|Setup Started|Mode of Execution|System Details|OS  |execution type|language Id|Parsing of the wix files|Setup ended with|ERROR" |
      sed 's/^\[[0-9:]*\]:\t //'
  else
    echo "(no log file)"
  fi
}

msiexec_demo() { # runs msiexec on a package of the demo bundle, quietly
  wine "C:\\windows\\system32\\msiexec.exe" "$@" /qn </dev/null >/dev/null 2>&1
  echo "msiexec $*: exit code $?"
}

# Every run appends to the bundle's log; start the demo with a fresh one.
rm -f "$(log_path)"

# The summary line the setup manager writes at the end of every run that
# executed products, from this run's part of the log.
show_summary() {
  local log
  log=$(log_path)
  if [ -f "$log" ]; then
    local line
    line=$(iconv -f UTF-16LE -t UTF-8 "$log" 2>/dev/null | tr -d '\r' |
      awk '/logging started/ { part = "" } { part = part $0 "\n" } END { printf "%s", part }' |
      grep -a "Setup ended with" | tail -n 1)
    echo "summary: ${line:-(no summary line: the run stopped before executing products)}"
  else
    echo "summary: (no log file)"
  fi
}

ARP_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\HalvorskStudio'
show_arp() {
  echo "--- Add/Remove Programs entry ($ARP_KEY)"
  if ! wine reg query "$ARP_KEY" </dev/null 2>/dev/null | tr -d '\r' | grep -E "REG_" ; then
    echo "(no entry)"
  fi
}

# --- The wizard, driven as a user would ------------------------------------
# wizard_driver finds Setup.exe's windows by the WiX Ids the wizard puts on
# them; every page passed is photographed into the output folder, one PNG
# per dialog Id (a page seen twice keeps its last picture).
SETUP_PID=""
WIZARD_SHOTS=()

drive() { # wizard_driver COMMAND ARGS...; prints its standard output without CRs
  local out rc
  out=$(timeout 90 wine "$DRIVER" "$@" </dev/null 2>/dev/null)
  rc=$?
  printf '%s' "${out//$'\r'/}"
  return $rc
}

wizard_running() { [ -n "$SETUP_PID" ] && kill -0 "$SETUP_PID" 2>/dev/null; }

shoot() { # DIALOG_ID: the screen as the user sees it
  sleep 0.5 # let the page finish painting
  if import -window root "$OUTPUT/$1.png" 2>/dev/null; then
    WIZARD_SHOTS+=("$1")
    echo "  [$1] screenshot $1.png"
  fi
}

start_wizard() { # ARGS...: starts Setup.exe without waiting
  echo
  echo "=== Wizard: Setup.exe $*"
  WIZARD_STARTED=$(date +%s.%N)
  timeout 600 wine ./Setup.exe "$@" </dev/null >/dev/null 2>&1 &
  SETUP_PID=$!
}

# Answers the questions asked before the wizard (language, edition, running
# programs) until something else shows; false when Setup.exe ended first.
pass_preinstall_dialogs() {
  local active
  for _ in $(seq 1 240); do
    wizard_running || return 1
    active=$(drive active 2>/dev/null)
    case "$active" in
      Language_Dlg|PreInstallDlg) shoot "$active"; drive click OK >/dev/null ;;
      Restart_Dlg) shoot "$active"; drive click Continue >/dev/null ;;
      CheckProcessDlg) shoot "$active"; drive click Retry >/dev/null ;;
      "") sleep 0.25 ;;
      *) return 0 ;;
    esac
  done
  return 1
}

wait_page() { # DIALOG_ID: waits for it and photographs it
  if drive wait-page "$1" 60000 >/dev/null; then
    shoot "$1"
    return 0
  fi
  echo "  expected $1; the wizard shows: $(drive dialogs 2>/dev/null | tr '\n' ' ')"
  return 1
}

step() { # CONTROL DIALOG_ID: clicks CONTROL of the active dialog, then waits for DIALOG_ID
  echo "  click $1"
  drive click "$1" >/dev/null || { echo "  (could not click $1: $(drive active 2>/dev/null))"; return 1; }
  wait_page "$2"
}

# Cancel -> CancelDlg -> Yes -> the user-exit page -> Finish.
leave_wizard() {
  step Cancel CancelDlg && step Yes UserExitDlg && { echo "  click Finish"; drive click Finish >/dev/null; }
}

end_wizard() { # reports the exit code; ends a wizard a failed walk left open
  local rc
  if wizard_running; then
    for _ in $(seq 1 60); do wizard_running || break; sleep 0.5; done
  fi
  if wizard_running; then
    echo "  the wizard is still open: ending it"
    drive dump 2>/dev/null | sed 's/^/    /'
    timeout 20 wine taskkill /F /IM Setup.exe </dev/null >/dev/null 2>&1
  fi
  wait "$SETUP_PID" 2>/dev/null
  rc=$?
  printf 'exit code: %s (%.1f s)\n' "$rc" "$(echo "$(date +%s.%N) - $WIZARD_STARTED" | bc)"
  SETUP_PID=""
}

# The first installation's wizard: every page forward, back again, then out
# through Cancel.
walk_first_installation() {
  pass_preinstall_dialogs || { echo "  Setup.exe ended before showing its wizard"; return 1; }
  wait_page WelcomeDlg || return 1
  step Next LicenseAgreementDlg || return 1
  echo "  click LicenseAcceptedCheckBox"
  drive click LicenseAcceptedCheckBox >/dev/null || return 1
  step Next UserInfoDlg || return 1
  echo "  type the user's name, choose the units and a start template"
  drive type UserNameEdit "Demo User" >/dev/null
  drive type CompanyEdit "Halvorsk Demo" >/dev/null
  drive select UnitsCombo Metric >/dev/null
  drive select TemplateList "Studio lighting" >/dev/null
  shoot UserInfoDlg
  step Next CustomizeDlg || return 1
  step Next VerifyReadyDlg || return 1
  step Back CustomizeDlg || return 1
  step Back UserInfoDlg || return 1
  step Back LicenseAgreementDlg || return 1
  leave_wizard
}

# A first installation through the wizard: every page forward, Install, the
# progress page photographed while the products run, the exit page, Finish.
walk_installation() {
  pass_preinstall_dialogs || { echo "  Setup.exe ended before showing its wizard"; return 1; }
  wait_page WelcomeDlg || return 1
  step Next LicenseAgreementDlg || return 1
  drive click LicenseAcceptedCheckBox >/dev/null || return 1
  step Next UserInfoDlg || return 1
  drive type UserNameEdit "Demo User" >/dev/null
  step Next CustomizeDlg || return 1
  step Next VerifyReadyDlg || return 1
  echo "  click Install"
  drive click Install >/dev/null || return 1
  if drive wait-page ProgressDlg 30000 >/dev/null; then
    sleep 1 # into the run: the runtime installer takes three seconds
    import -window root "$OUTPUT/ProgressDlg.png" 2>/dev/null && WIZARD_SHOTS+=("ProgressDlg") && echo "  [ProgressDlg] screenshot ProgressDlg.png"
  fi
  wait_page ExitDlg || return 1
  echo "  click Finish"
  drive click Finish >/dev/null
}

# The maintenance pages of an installed bundle: Repair.
walk_repair() {
  pass_preinstall_dialogs || { echo "  Setup.exe ended before showing its wizard"; return 1; }
  wait_page MaintenanceWelcomeDlg || return 1
  step Next MaintenanceTypeDlg || return 1
  step RepairButton VerifyReadyDlg || return 1
  mv -f "$OUTPUT/VerifyReadyDlg.png" "$OUTPUT/VerifyReadyDlg.repair.png"
  echo "  click Repair"
  drive click Repair >/dev/null || return 1
  wait_page ExitDlg || return 1
  mv -f "$OUTPUT/ExitDlg.png" "$OUTPUT/ExitDlg.repair.png"
  echo "  click Finish"
  drive click Finish >/dev/null
}

# The maintenance pages of an installed bundle: Remove.
walk_removal() {
  pass_preinstall_dialogs || { echo "  Setup.exe ended before showing its wizard"; return 1; }
  wait_page MaintenanceWelcomeDlg || return 1
  step Next MaintenanceTypeDlg || return 1
  step RemoveButton VerifyReadyDlg || return 1
  mv -f "$OUTPUT/VerifyReadyDlg.png" "$OUTPUT/VerifyReadyDlg.remove.png"
  echo "  click Remove"
  drive click Remove >/dev/null || return 1
  wait_page ExitDlg || return 1
  mv -f "$OUTPUT/ExitDlg.png" "$OUTPUT/ExitDlg.remove.png"
  echo "  click Finish"
  drive click Finish >/dev/null
}

# A start that only looks at the first page and leaves.
walk_first_page_and_leave() { # FIRST_PAGE
  pass_preinstall_dialogs || { echo "  Setup.exe ended before showing its wizard"; return 1; }
  wait_page "$1" || return 1
  leave_wizard
}

show_usage

start_wizard
walk_first_installation
end_wizard
show_log

start_wizard /L 1031 INSTALLDIR="C:\\Demo Folder"
echo "  (German texts, a property from the command line)"
if ! pass_preinstall_dialogs; then
  echo "  Setup.exe ended before showing its wizard"
elif wait_page WelcomeDlg; then
  mv -f "$OUTPUT/WelcomeDlg.png" "$OUTPUT/WelcomeDlg.de-de.png"
  echo "  (kept as WelcomeDlg.de-de.png)"
  leave_wizard
fi
end_wizard
show_log

echo
echo "=== The whole bundle installed through the wizard"
start_wizard
walk_installation
end_wizard
show_summary
show_arp

echo
echo "=== Started again: the maintenance pages repair the bundle"
start_wizard /NOMUTEX
walk_repair
end_wizard
show_summary

echo
echo "=== Started again: the maintenance pages remove the bundle"
start_wizard /NOMUTEX
walk_removal
end_wizard
show_summary
show_arp

echo
echo "=== Screenshots of the wizard in $OUTPUT"
if [ ${#WIZARD_SHOTS[@]} -eq 0 ]; then
  echo "(none: the wizard showed no page)"
else
  printf '%s\n' "${WIZARD_SHOTS[@]}" | awk '!seen[$0]++' | sed 's/^/  /;s/$/.png/'
fi

echo
echo "=== Silent runs: installation, repair and removal of the whole bundle"
run_setup "Silent installation" /si
show_summary
show_arp
run_setup "Silent repair" /sf
show_summary
run_setup "Silent removal" /sx
show_summary
show_arp
