# Sourced by the shell tests of scripts/test and scripts/run (after fake-host.sh): a made-up host on
# which they find everything installed (build_stand_ins), with a copy of the checkout's scripts.

# A copy of the checkout's scripts in FOLDER of a made-up host; ctest finds it as CHECKOUT, and the
# update service's port as PORT.
run_host() {
  new_host "$1"
  build_stand_ins
  checkout="$host/$2/src"
  mkdir -p "$checkout"
  cp -r "$root/scripts" "$root/tools" "$checkout/"
  build=$checkout/build
  port=$(free_port)
  # A home of the user's own, which a run leaves as it was.
  mkdir "$host/home"
  extra_env=(CHECKOUT="$checkout" PORT="$port" QUILLORA_TEST_ARCH=i686 HOME="$host/home")
  # Whether the update service answering on PORT is the one of this build: it shows this build's
  # certificate.
  cat >"$host/answering-is-ours" <<'SH'
python3 - "$PORT" "$BUILD/update-service/certificates/service.pem" <<'PY'
import ssl, sys
served = ssl.get_server_certificate(("127.0.0.1", int(sys.argv[1])))
sys.exit(0 if ssl.PEM_cert_to_DER_cert(served) == ssl.PEM_cert_to_DER_cert(open(sys.argv[2]).read()) else 1)
PY
SH
}
# A run whose tests prepare the prefix and start and stop the update service, as ctest's fixtures do.
passing_tests() {
  cat >"$host/ctest-body" <<'SH'
set -e
echo "    Start  1: wine_prefix"
"$CHECKOUT/tools/prepare-prefix" "$BUILD"
echo "1/2 Test  #1: wine_prefix ......................   Passed    1.00 sec"
"$CHECKOUT/tools/update-service/start" "$BUILD" "$PORT"
bash "$HOST/answering-is-ours" || { echo "the update service answering is not this run's"; exit 1; }
"$CHECKOUT/tools/update-service/stop" "$BUILD"
echo "2/2 Test  #2: update_service_start .............   Passed    1.00 sec"
echo
echo "100% tests passed, 0 tests failed out of 2"
SH
}
left_running() { processes_of "$host" | sed 's/^/    /'; }
# What a run added to the user's home, such as the menus and file types of Wine's menu builder.
added_to_home() { (cd "$host/home" && find . -mindepth 1 | tr '\n' ' '); }

# The folders that Debian's Wine made for its servers' sockets in the temporary folder (the made-up
# host's own), which nothing of Wine's removes.
socket_folders() { (cd "$host" && find . -maxdepth 1 -type d -name 'wine-*' | tr '\n' ' '); }

# A run stopped in one of its stages, started in a process group of its own, as in a terminal, so
# that an interrupt reaches all of it; $run is its process. STAGE is where it stops:
#   setup   setup installs a package, which takes a minute (apt-get names the made-up host)
#   build   the build compiles for a minute (a compiler that names the made-up host) while the new
#           prefix's first boot runs on
#   failed-build   the same, but the build fails after a second
#   late-test   as tests, and ctest, told to end, starts one more test before it ends
#   recorded-setup   as tests, and setup writes its process (the number of its stage's process
#           group) in $host/setup-pid
#   tests   (the default) the tests lock the install tests' folder that no one may write and then run
#           for a minute (a test that names the made-up host, so that it is seen running)
# $host/in-the-middle appears once it is there.
start_stopped_run() {
  run_host "$1" "jo"
  # chattr marks a path immutable in $host/immutable, as root's chattr does.
  host_tools chmod
  mkdir -p "$host/immutable"
  stand_in chattr <<'SH'
key=$(printf '%s' "$2" | tr / _)
if [ "$1" = +i ]; then touch "$HOST/immutable/$key"; else rm -f "$HOST/immutable/$key"; fi
SH
  stand_in lsattr <<'SH'
key=$(printf '%s' "${*: -1}" | tr / _)
if [ -f "$HOST/immutable/$key" ]; then echo "----i---------e------- ${*: -1}"; else echo "--------------e------- ${*: -1}"; fi
SH
  cat >"$host/ctest-body" <<'SH'
"$CHECKOUT/tools/prepare-prefix" "$BUILD"
"$CHECKOUT/tools/update-service/start" "$BUILD" "$PORT"
"$CHECKOUT/tools/update-service/unwritable-folder" "$BUILD/update-service/unwritable" lock \
  "$BUILD/tests/update/update_test_program.exe"
touch "$HOST/in-the-middle"
(exec -a "a test of $HOST" sleep 60)
SH
  case "${2:-tests}" in
    setup)
      # Xvfb is missing, and its install takes a minute.
      stand_in dpkg-query <<'SH'
[ "${*: -1}" = xvfb ] && [ ! -f "$HOST/installed/xvfb" ] && exit 1
printf 'install ok installed'
SH
      stand_in apt-get <<'SH'
echo "apt-get $*" >>"$HOST/calls"
case " $* " in
  *" install "*) touch "$HOST/in-the-middle"; exec -a "apt-get of $HOST" sleep 60 ;;
esac
SH
      ;;
    build | failed-build)
      mv "$host/bin/cmake" "$host/bin/cmake-standin"
      stand_in cmake <<'SH'
if [ "$1" = --build ]; then
  touch "$HOST/in-the-middle"
  [ -f "$HOST/build-fails" ] && { sleep 1; echo "error: a compile failed"; exit 1; }
  exec -a "a compiler of $HOST" sleep 60
fi
exec "$HOST/bin/cmake-standin" "$@"
SH
      [ "$2" = build ] || touch "$host/build-fails"
      # The first boot goes on for a while after the prefix's server has started.
      mv "$host/bin/wineboot" "$host/bin/wineboot-standin"
      stand_in wineboot <<'SH'
"$HOST/bin/wineboot-standin" "$@"
exec -a "a first boot of $HOST" sleep 60
SH
      ;;
    recorded-setup)
      mv "$checkout/scripts/setup" "$checkout/scripts/setup-standin"
      printf '#!/bin/bash\necho $$ >%q\nexec "$(dirname "$0")/setup-standin" "$@"\n' "$host/setup-pid" \
        >"$checkout/scripts/setup"
      chmod +x "$checkout/scripts/setup"
      ;;
    late-test)
      # ctest, told to end, starts one more test first.
      body=$(cat "$host/ctest-body")
      cat >"$host/ctest-body" <<'SH'
trap '(exec -a "a test started late of $HOST" sleep 60) &' TERM
SH
      printf '%s\n' "$body" >>"$host/ctest-body"
      ;;
  esac
  set -m
  env -i HOME="$host" TMPDIR="$host" PATH="$host/bin:$host/sys" QUILLORA_APT_LISTS="$host/lists" "${extra_env[@]}" \
    "$checkout/scripts/test" >"$host/interrupted.log" 2>&1 &
  run=$!
  set +m
  for _ in $(seq 300); do
    [ -f "$host/in-the-middle" ] || { kill -0 "$run" 2>/dev/null && sleep 0.1 && continue; }
    break
  done
  expect "reaches the middle of its ${2:-tests}: $(cat "$host/interrupted.log")" [ -f "$host/in-the-middle" ]
}
# Waits up to 30 s for the stopped run to end by itself, and checks that it left nothing running or
# locked, that its build folder can be removed, and, with "next-run", that the next run passes (the
# checks show the same for the other stops: a whole run more for each would only double the test's
# time). With "killed", the run was killed outright (kill -9 of its process group): what it started
# must be gone a few seconds later.
expect_stopped_run_ends_clean() {
  for _ in $(seq 300); do kill -0 "$run" 2>/dev/null || break; sleep 0.1; done
  killed=no
  kill -0 "$run" 2>/dev/null && { kill -KILL -- -"$run"; killed=yes; }
  { wait "$run"; } 2>/dev/null
  ended=$?
  expect "ends by itself, as failed: exit status $ended, killed: $killed" [ "$killed" = no -a "$ended" -ne 0 ]
  if [[ " $* " == *" killed "* ]]; then
    for _ in $(seq 50); do
      [ -n "$(left_running)" ] || [ -n "$(ls "$host/immutable")" ] || break
      sleep 0.2
    done
  fi
  left=$(left_running)
  expect "leaves nothing of the run running (no test, no update service, no wineserver):
$left" [ -z "$left" ]
  expect "leaves nothing locked against writing: $(ls "$host/immutable") $(find "$build" ! -perm -u+w 2>&1)" \
    [ -z "$(ls "$host/immutable")" -a -z "$(find "$build" ! -perm -u+w 2>/dev/null)" ]
  expect "leaves no folder of a Wine server in the temporary folder: $(socket_folders)" [ -z "$(socket_folders)" ]
  if [ -f "$host/bin/wineboot-standin" ]; then
    expect "leaves no prefix whose first boot it cut short, which the next run would take as made" \
      [ ! -e "$build/wineprefix" ]
  fi
  rm -rf "$build"
  expect "leaves a build folder that can be removed" [ ! -e "$build" ]
  [[ " $* " == *" next-run "* ]] || return 0
  # The next run finds everything installed, and builds and boots at once.
  stand_in dpkg-query <<'SH'
printf 'install ok installed'
SH
  for command in cmake wineboot; do
    [ ! -f "$host/bin/$command-standin" ] || mv "$host/bin/$command-standin" "$host/bin/$command"
  done
  passing_tests
  on_host "$checkout/scripts/test"
  expect "the next run passes, its build folder made anew: $status $out" [ "$status" -eq 0 ]
}
