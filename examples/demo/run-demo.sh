#!/usr/bin/env bash
# Runs the assembled demo bundle under Wine and reports what happened.
# Called by ./dev demo with the bundle folder (Setup.exe beside SetupData);
# WINEPREFIX and DISPLAY are already set up by ./dev.
set -uo pipefail
DEMO="${1:?usage: run-demo.sh BUNDLE_FOLDER}"
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

show_usage
run_setup "Wizard start with a property and a language (first installation)" /L 1031 INSTALLDIR="C:\\Demo Folder"
show_log

echo
echo "=== The main package installed by hand: the next start is a maintenance run"
msiexec_demo /i "SetupData\\Packages\\Studio\\HalvorskStudio.msi"
run_setup "Wizard start on an installed bundle" /NOMUTEX
show_log
msiexec_demo /x "SetupData\\Packages\\Studio\\HalvorskStudio.msi"

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
