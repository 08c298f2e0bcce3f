# Sourced by the shell tests of the scripts: a made-up Debian host in a folder of its own, whose
# package tools, sudo, locales and Wine loader are stand-ins on the PATH that record what they are
# asked in $host/calls and answer as the case sets them up:
#   $host/installed/<package>   installed packages (dpkg-query)
#   $host/uninstallable         packages apt-get cannot install, one a line
#   $host/unknown               packages no list of apt's names (from a source the host lacks)
#   $host/update-status         apt-get update's exit code (100: an index failed), or "offline": no
#                               index can be fetched, which apt-get update reports with exit code 0
#                               unless its error mode is "any"
#   $host/mirror-unreachable    present: apt-get install cannot fetch a package either (without
#                               package lists it finds none, with them it cannot download one)
#   $host/uid                   what id -u says
#   $host/sudo                  "absent", "password" (sudo -n refuses) or "works"; as sudo does, it
#                               hands the command none of the caller's environment but the variables
#                               set on its own command line
#   $host/frontends             the DEBIAN_FRONTEND that each apt-get install was given, one a line
#   $host/locales, $host/bad-locales   locale -a's list; locales localedef cannot make
#   $host/lock-held             the time on the made-up host's clock until which another program
#                               holds apt's lock (absent: none)
#   $host/clock                 that clock, in seconds from 0: only the made-up host's sleep and
#                               apt-get's own wait for the lock move it, so that no case depends on how
#                               fast the real host runs
# Every check says what it expected; the test fails when one of them does not hold.
# A test adds what its end must undo with on_exit (never a trap of its own, which would replace the
# one that removes the hosts); whatever still runs with a host's folder in its command line is ended.

failures=0
checks=0
# A test is given [CHECKOUT [PART]]: with a PART, only the cases of that part run, so that ctest runs
# the parts of a long test side by side, each an entry of its own.
part=${2:-}
in_part() { [ -z "$part" ] || [ "$part" = "$1" ]; }
case_name=""
expect() {
  local what=$1
  shift
  checks=$((checks + 1))
  if ! "$@"; then
    echo "FAILED: $case_name: $what"
    failures=$((failures + 1))
  fi
}
contains() { grep -qF -- "$2" <<<"$1"; }
lacks() { ! grep -qF -- "$2" <<<"$1"; }

new_host() {
  case_name=$1
  host=$(mktemp -d "${TMPDIR:-/tmp}/fake-host.XXXXXX")
  hosts+=("$host")
  mkdir -p "$host/bin" "$host/sys" "$host/installed" "$host/lists"
  : >"$host/calls"
  echo 0 >"$host/update-status"
  echo 0 >"$host/uid"
  echo works >"$host/sudo"
  : >"$host/uninstallable"
  : >"$host/unknown"
  : >"$host/bad-locales"
  printf 'C\nC.utf8\nPOSIX\n' >"$host/locales"
  # Only these of the real host's commands, so that nothing of its own package tools leaks in.
  host_tools bash sh env true cat grep find head tail sed mktemp rm basename dirname tr wc mkdir touch ls sort tee
  stand_in apt-get <<'SH'
# The call is recorded without its -o options; apt's lock is waited for as long as
# -o DPkg::Lock::Timeout=SECONDS says, and without it not at all, as apt does.
words=() wait_for_lock=0 error_mode=""
while [ $# -gt 0 ]; do
  if [ "$1" = -o ]; then
    case "$2" in
      DPkg::Lock::Timeout=*) wait_for_lock=${2#*=} ;;
      APT::Update::Error-Mode=*) error_mode=${2#*=} ;;
    esac
    shift 2
    continue
  fi
  case "$1" in --error-on=*) error_mode=${1#*=}; shift; continue ;; esac
  words+=("$1")
  shift
done
set -- "${words[@]}"
echo "apt-get $*" >>"$HOST/calls"
if [ -f "$HOST/lock-held" ]; then
  lock=/var/lib/dpkg/lock-frontend
  # update takes the package lists' lock, and gives up on it at once: the time-out is dpkg's.
  [ "$1" = update ] && lock=/var/lib/apt/lists/lock wait_for_lock=0
  clock=$(cat "$HOST/clock" 2>/dev/null || echo 0)
  left=$(($(cat "$HOST/lock-held") - clock))
  if [ "$left" -gt 0 ]; then
    [ "$wait_for_lock" -gt 0 ] && echo "Waiting for cache lock: Could not get lock $lock. It is held by process 4321 (unattended-upgr)..."
    if [ "$left" -gt "$wait_for_lock" ]; then
      echo $((clock + wait_for_lock)) >"$HOST/clock"
      echo "E: Could not get lock $lock. It is held by process 4321 (unattended-upgr)"
      echo "N: Be aware that removing the lock file is not a solution and may break your system."
      if [ "$1" = update ]; then echo "E: Unable to lock directory /var/lib/apt/lists/"
      else echo "E: Unable to acquire the dpkg frontend lock ($lock), is another process using it?"; fi
      exit 100
    fi
    echo $((clock + left)) >"$HOST/clock"
  fi
  rm "$HOST/lock-held"
fi
case "$1" in
  update)
    status=$(cat "$HOST/update-status")
    if [ "$status" = offline ]; then
      echo "Err:1 http://deb.example/debian stable InRelease"
      echo "  Temporary failure resolving 'deb.example'"
      echo "Reading package lists..."
      kind=W status=0
      [ "$error_mode" = any ] && kind=E status=100
      echo "$kind: Failed to fetch http://deb.example/debian/dists/stable/InRelease  Temporary failure resolving 'deb.example'"
      echo "$kind: Some index files failed to download. They have been ignored, or old ones used instead."
      exit "$status"
    fi
    touch "$HOST/lists/example_dists_main_InRelease"
    echo "Hit:1 http://deb.example/debian stable InRelease"
    echo "Get:2 http://security.example stable-security InRelease [48.0 kB]"
    [ "$status" -eq 0 ] || echo "E: Failed to fetch http://security.example/dists/main/binary-i386/Packages.xz  File has unexpected size (41 != 40). Mirror sync in progress?"
    exit "$status" ;;
  install)
    shift
    echo "${DEBIAN_FRONTEND:-(none)}" >>"$HOST/frontends"
    if [ -f "$HOST/mirror-unreachable" ]; then
      if ! find "$HOST/lists" -name '*InRelease' | grep -q .; then
        for p in "$@"; do
          case "$p" in -*) ;; *) echo "E: Unable to locate package $p" ;; esac
        done
      else
        for p in "$@"; do
          case "$p" in -*) ;; *) echo "Err:1 http://deb.example/debian stable/main $p 1.0"
                                 echo "  Temporary failure resolving 'deb.example'" ;; esac
        done
        echo "E: Failed to fetch http://deb.example/debian/pool/main/x/$p/${p}_1.0_amd64.deb  Temporary failure resolving 'deb.example'"
        echo "E: Unable to fetch some archives, maybe run apt-get update or try with --fix-missing?"
      fi
      exit 100
    fi
    for p in "$@"; do
      case "$p" in -*) continue ;; esac
      if grep -qx -- "$p" "$HOST/unknown"; then
        echo "E: Unable to locate package $p"
        exit 100
      fi
      if grep -qx -- "$p" "$HOST/uninstallable"; then
        for i in 1 2 3 4 5 6 7 8 9; do echo " $p : Depends: lib$i:i386 (= 1.$i) but 1.$i+b1 is to be installed"; done
        echo "E: Unable to correct problems, you have held broken packages."
        exit 100
      fi
    done
    for p in "$@"; do
      case "$p" in -*) ;; *) touch "$HOST/installed/$p" ;; esac
    done ;;
esac
SH
  stand_in dpkg-query <<'SH'
p=${*: -1}
[ -f "$HOST/installed/$p" ] || { echo "dpkg-query: no packages found matching $p" >&2; exit 1; }
printf 'install ok installed'
SH
  stand_in dpkg <<'SH'
echo "dpkg $*" >>"$HOST/calls"
case "$1" in
  --print-foreign-architectures) cat "$HOST/architectures" 2>/dev/null ;;
  --add-architecture) echo "$2" >>"$HOST/architectures" ;;
esac
SH
  stand_in id <<'SH'
[ "$1" = -u ] && cat "$HOST/uid"
SH
  stand_in sudo <<'SH'
echo "sudo $*" >>"$HOST/calls"
[ "$(cat "$HOST/sudo")" = password ] && { echo "sudo: a password is required" >&2; exit 1; }
[ "$1" = -n ] && shift
exec env -i PATH="$PATH" "$@"
SH
  stand_in locale <<'SH'
[ "$1" = -a ] && cat "$HOST/locales"
SH
  stand_in localedef <<'SH'
echo "localedef $*" >>"$HOST/calls"
grep -qx -- "$2" "$HOST/bad-locales" && { echo "localedef: cannot open locale definition file '$2'" >&2; exit 1; }
echo "$2.utf8" >>"$HOST/locales"
SH
  stand_in sleep <<'SH'
echo "sleep $*" >>"$HOST/calls"
echo $(($(cat "$HOST/clock" 2>/dev/null || echo 0) + ${1%%.*})) >"$HOST/clock"
SH
}

# stand_in NAME: a command of the made-up host, its body read from standard input.
stand_in() {
  local body
  IFS= read -r -d '' body
  printf '#!/bin/bash\nHOST=%q\n%s' "$host" "$body" >"$host/bin/$1"
  chmod +x "$host/bin/$1"
}

# host_tools TOOL...: the real host's commands on the made-up host's PATH, the system's own first
# (not, say, a version manager's shims, which need more of the host than the made-up one has).
host_tools() {
  local tool dir found=() dirs
  IFS=: read -ra dirs <<<"/usr/bin:/bin:$PATH"
  for tool in "$@"; do
    for dir in "${dirs[@]}"; do
      if [ -x "$dir/$tool" ]; then
        found+=("$dir/$tool")
        break
      fi
    done
  done
  [ ${#found[@]} -eq 0 ] || ln -sf "${found[@]}" "$host/sys/"
}

# Runs a command on the made-up host: its output (standard output and error together) goes to
# $out, its exit code to $status.
on_host() {
  out=$(env -i HOME="$host" TMPDIR="$host" PATH="$host/bin:$host/sys" QUILLORA_APT_LISTS="$host/lists" \
    ${extra_env[@]+"${extra_env[@]}"} "$@" 2>&1)
  status=$?
}
extra_env=()

# A port for an update service of a test, free with the one after it (the service takes both), and
# below the ports the system hands out by itself, which a connection of another running test could
# take from under it.
free_port() {
  python3 - <<'PY'
import random, socket
low = int(open("/proc/sys/net/ipv4/ip_local_port_range").read().split()[0])
while True:
    port = random.randrange(10000, low - 2)
    taken = []
    try:
        for candidate in (port, port + 1):
            s = socket.socket()
            taken.append(s)
            s.bind(("127.0.0.1", candidate))
    except OSError:
        continue
    finally:
        for s in taken:
            s.close()
    print(port)
    break
PY
}

# The processes still running whose command line names a made-up host's folder: "PID COMMAND" lines.
processes_of() {
  local cmdline pid words line
  for cmdline in /proc/[0-9]*/cmdline; do
    pid=${cmdline#/proc/}
    pid=${pid%/cmdline}
    [ "$pid" != $$ ] || continue
    words=()
    { mapfile -d '' -t words <"$cmdline"; } 2>/dev/null || continue
    line=${words[*]-}
    [[ "$line" == *"$1"* ]] && echo "$pid $line"
  done
}

exit_steps=()
on_exit() { exit_steps+=("$1"); }
hosts=()
end_hosts() {
  local step h pid
  for step in ${exit_steps[@]+"${exit_steps[@]}"}; do eval "$step"; done
  for h in ${hosts[@]+"${hosts[@]}"}; do
    for pid in $(processes_of "$h" | cut -d' ' -f1); do kill -KILL "$pid" 2>/dev/null; done
  done
  [ ${#hosts[@]} -gt 0 ] && rm -rf "${hosts[@]}"
}
trap end_hosts EXIT

finish() {
  echo "$checks checks, $failures failed"
  [ "$failures" -eq 0 ] && [ "$checks" -gt 0 ]
}

# wine_stand_ins: Wine of the made-up host (its first boot's menu builder, Mono and Gecko included,
# as WINEDLLOVERRIDES leaves them on or off). Each prefix gets a server that lingers, in a session of
# its own as Wine's does (Ctrl+C does not reach it), until "wineserver -k"; regsvr32 registers only
# a file that exists and regedit adds its file to $host/registry; any other program is recorded in
# $host/calls with its arguments, one a line, after a line "wine", and runs $host/program-runs
# (with bash, the program's arguments its own) when a case wrote one. As Debian's Wine, every
# command keeps the server's socket in a folder "wine-XXXXXX" of the temporary folder, named in the
# prefix's file "wineserver" and made again under that name when it is gone; none removes it.
wine_stand_ins() {
  rm -f "$host/bin/sleep"
  host_tools sleep setsid setpriv seq cut od tar cp ln mv sha256sum nproc stat python3 openssl iconv awk realpath timeout
  cat >"$host/wine-server.sh" <<'SH'
socket_folder() {
  local name
  [ -d "$WINEPREFIX" ] || return 0
  name=$(cat "$WINEPREFIX/wineserver" 2>/dev/null)
  if [ -z "$name" ]; then
    name=$(basename "$(mktemp -d "${TMPDIR:-/tmp}/wine-XXXXXX")")
    echo "$name" >"$WINEPREFIX/wineserver"
  fi
  mkdir -p "${TMPDIR:-/tmp}/$name/server-standin"
}
unix_path() { local path=${1#[Zz]:}; printf '%s' "${path//\\//}"; }
server_file() { printf '%s' "$WINEPREFIX/.standin-wineserver"; }
# Whether the server runs (one that ended stays a zombie until it is reaped).
server_runs() {
  local stat
  [ -f "$(server_file)" ] && { read -r stat <"/proc/$(cat "$(server_file)")/stat"; } 2>/dev/null &&
    [[ "$stat" != *") Z "* ]]
}
# start_server [SECONDS]: a server that ends soon after its programs, or lingers SECONDS.
start_server() {
  local life=${1:-0.3}
  if server_runs; then
    [ "$life" = 0.3 ] && return 0
    kill "$(cat "$(server_file)")"
  fi
  mkdir -p "$WINEPREFIX"
  socket_folder
  rm -f "$(server_file)"
  setsid bash -c 'echo $$ >"$1.new" && mv "$1.new" "$1" && exec -a "wineserver-standin $2" sleep "$3"' _ \
    "$(server_file)" "$WINEPREFIX" "$life" </dev/null >/dev/null 2>&1 &
  for _ in $(seq 200); do [ -f "$(server_file)" ] && return 0; sleep 0.01; done
  return 1
}
SH
  stand_in wineserver <<'SH'
. "$HOST/wine-server.sh"
socket_folder
case "$1" in
  -k) server_runs || exit 1; kill "$(cat "$(server_file)")"; rm -f "$(server_file)" ;;
  -w) while server_runs; do sleep 0.05; done ;;
  -p*) start_server 300 ;;
esac
SH
  stand_in wineboot <<'SH'
. "$HOST/wine-server.sh"
start_server
# Wine's menu builder, which a prefix's first boot starts unless WINEDLLOVERRIDES turns it off,
# writes the desktop's menus and file types into the user's home; Mono and Gecko (mscoree, mshtml),
# unless it turns them off, are offered for download into the user's ~/.cache/wine. As in Wine, the
# last override that names a library counts.
declare -A enabled=([winemenubuilder]=on [mscoree]=on [mshtml]=on)
IFS=';' read -ra overrides <<<"${WINEDLLOVERRIDES:-}"
for override in ${overrides[@]+"${overrides[@]}"}; do
  IFS=',' read -ra names <<<"${override%%=*}"
  for name in ${names[@]+"${names[@]}"}; do
    name=${name%.exe}
    name=${name%.dll}
    [ -n "${enabled[$name]+set}" ] || continue
    case "${override#*=}" in d|disabled|"") enabled[$name]=off ;; *) enabled[$name]=on ;; esac
  done
done
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  if [ "${enabled[winemenubuilder]}" = on ]; then
    mkdir -p "$HOME/.config/menus/applications-merged" "$HOME/.local/share/applications" \
      "$HOME/.local/share/desktop-directories" "$HOME/.local/share/mime/packages"
  fi
  if [ "${enabled[mscoree]}" = on ] || [ "${enabled[mshtml]}" = on ]; then
    mkdir -p "$HOME/.cache/wine"
  fi
fi
echo "wineboot WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-}" >>"$HOST/calls"
mkdir -p "$WINEPREFIX/drive_c/users/standin/Temp" "$WINEPREFIX/drive_c/windows/system32"
touch "$WINEPREFIX/system.reg"
SH
  stand_in winepath <<'SH'
[ "$1" = -w ] && shift
path=$1
printf 'Z:%s\n' "${path//\//\\}"
SH
  stand_in wine <<'SH'
. "$HOST/wine-server.sh"
start_server
case "$1" in
  regsvr32)
    [ "$2" = /s ] && shift
    file=$(unix_path "$2")
    echo "regsvr32 $file" >>"$HOST/calls"
    [ -f "$file" ] || exit 3 ;;
  regedit)
    file=$(unix_path "$3")
    [ -f "$file" ] || exit 1
    cat "$file" >>"$HOST/registry" ;;
  cmd) ;;
  *)
    { echo wine; printf '%s\n' "$@"; } >>"$HOST/calls"
    [ -f "$1" ] || [ -f "$(unix_path "$1")" ] || exit
    [ ! -f "$HOST/program-runs" ] || bash "$HOST/program-runs" "$@" ;;
esac
SH
}

# build_stand_ins: a made-up host on which scripts/test and scripts/run find everything installed,
# with Wine (wine_stand_ins), Xvfb, and a CMake and a ctest of their own: "cmake -S -B" writes a
# build folder with a lane and two stand-in components to register, "cmake --build" builds
# nothing, and ctest runs $host/ctest-body with BUILD set to its --test-dir.
build_stand_ins() {
  wine_stand_ins
  printf '%s\n' C C.utf8 POSIX en_US.utf8 zh_CN.utf8 ru_RU.utf8 fr_CA.utf8 ja_JP.utf8 >"$host/locales"
  stand_in dpkg-query <<'SH'
printf 'install ok installed'
SH
  stand_in cmake <<'SH'
echo "cmake $*" >>"$HOST/calls"
if [ "$1" = --build ]; then
  [ -f "$2/build.ninja" ]
  exit
fi
while [ $# -gt 0 ]; do
  case "$1" in
    -B) build=$2; shift ;;
  esac
  shift
done
mkdir -p "$build/standins/onenote" "$build/standins/winrt_pdf" "$build/tools/trust-authority" \
  "$build/tests/update" "$build/batch_import"
touch "$build/build.ninja" "$build/standins/onenote/onenote_standin.dll" "$build/standins/winrt_pdf/winrt_pdf.dll" \
  "$build/tools/trust-authority/trust_authority.exe" "$build/tests/update/update_test_program.exe" \
  "$build/batch_import/Sheafin.exe"
echo 1 >"$build/wine-lanes"
echo win32 >"$build/wine-arch"
printf 'com %s\nwinrt Windows.Data.Pdf.PdfDocument %s\n' "$build/standins/onenote/onenote_standin.dll" \
  "$build/standins/winrt_pdf/winrt_pdf.dll" >"$build/registrations.txt"
SH
  stand_in ctest <<'SH'
# Its help names the options a case gives.
[ "$1" = --help ] && { echo "  -R <regex>, --tests-regex <regex>"; exit 0; }
while [ $# -gt 0 ]; do
  [ "$1" = --test-dir ] && { BUILD=$2; shift; }
  # Listing the entries (-N) runs none of them.
  [ "$1" = -N ] && { echo "Total Tests: 2"; exit 0; }
  shift
done
export BUILD HOST
exec bash "$HOST/ctest-body"
SH
  stand_in Xvfb <<'SH'
echo "Xvfb $*" >>"$HOST/calls"
number=$(($(cat "$HOST/displays" 2>/dev/null || echo 9900) + 1))
echo "$number" >"$HOST/displays"
echo "$number" >&3
exec 3>&-
exec -a "Xvfb-standin $HOST" sleep 300
SH
}
