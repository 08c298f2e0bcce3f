# Sourced by the shell tests of the scripts: a made-up Debian host in a folder of its own, whose
# package tools, sudo, locales and Wine loader are stand-ins on the PATH that record what they are
# asked in $host/calls and answer as the case sets them up:
#   $host/installed/<package>   installed packages (dpkg-query)
#   $host/uninstallable         packages apt-get cannot install, one a line
#   $host/update-status         apt-get update's exit code (100: an index failed)
#   $host/uid                   what id -u says
#   $host/sudo                  "absent", "password" (sudo -n refuses) or "works"
#   $host/locales, $host/bad-locales   locale -a's list; locales localedef cannot make
# Every check says what it expected; the test fails when one of them does not hold.

failures=0
checks=0
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
  : >"$host/bad-locales"
  printf 'C\nC.utf8\nPOSIX\n' >"$host/locales"
  # Only these of the real host's commands, so that nothing of its own package tools leaks in.
  local tool
  for tool in bash sh env true cat grep find head tail sed mktemp rm basename dirname tr wc mkdir touch ls sort; do
    ln -s "$(type -P "$tool")" "$host/sys/$tool"
  done
  stand_in apt-get <<'SH'
echo "apt-get $*" >>"$HOST/calls"
case "$1" in
  update)
    touch "$HOST/lists/example_dists_main_InRelease"
    status=$(cat "$HOST/update-status")
    [ "$status" -eq 0 ] || echo "E: Failed to fetch http://security.example/dists/main/binary-i386/Packages.xz  File has unexpected size (41 != 40). Mirror sync in progress?"
    exit "$status" ;;
  install)
    shift
    for p in "$@"; do
      case "$p" in -*) continue ;; esac
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
exec "$@"
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
SH
}

# stand_in NAME: a command of the made-up host, its body read from standard input.
stand_in() {
  { echo "#!/bin/bash"; echo "HOST='$host'"; cat; } >"$host/bin/$1"
  chmod +x "$host/bin/$1"
}

# Runs a command on the made-up host: its output (standard output and error together) goes to
# $out, its exit code to $status.
on_host() {
  out=$(env -i HOME="$host" TMPDIR="$host" PATH="$host/bin:$host/sys" QUILLORA_APT_LISTS="$host/lists" \
    ${extra_env[@]+"${extra_env[@]}"} "$@" 2>&1)
  status=$?
}
extra_env=()

hosts=()
end_hosts() {
  [ ${#hosts[@]} -gt 0 ] && rm -rf "${hosts[@]}"
}
trap end_hosts EXIT

finish() {
  echo "$checks checks, $failures failed"
  [ "$failures" -eq 0 ] && [ "$checks" -gt 0 ]
}
