# Sourced by tools/update-service/unwritable-folder: takes a file or folder out of anyone's reach for
# writing, and gives it back.
# Wine honours permissions for a user who is not root, so taking away the write bits locks a path.
# Root may write anything: for root (or wherever it takes) the path is made immutable as well, which
# needs root's CAP_LINUX_IMMUTABLE and a file system that keeps the flag; whether it took is checked.

immutable() { [[ "$(lsattr -d "$1" 2>/dev/null | cut -d' ' -f1)" == *i* ]]; }

# lock_against_writing WHO PATH...: fails, saying why, where root could write a path all the same.
lock_against_writing() {
  local who=$1 path
  shift
  for path in "$@"; do
    chmod a-w -- "$path"
    chattr +i "$path" 2>/dev/null || true
    if [ "$(id -u)" -eq 0 ] && ! immutable "$path"; then
      echo "$who: root may write any file, and $path could not be made immutable" \
        "(chattr +i needs root's CAP_LINUX_IMMUTABLE and a file system that keeps the flag):" \
        "run the tests as a user who is not root, or as root with that capability" >&2
      return 1
    fi
  done
}

# unlock_for_writing PATH...: a folder before what it holds, so that its files can be reached.
unlock_for_writing() {
  local path
  for path in "$@"; do
    [ -e "$path" ] || continue
    if immutable "$path"; then chattr -i "$path"; fi
    chmod u+w -- "$path"
  done
}
