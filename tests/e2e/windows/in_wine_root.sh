#!/usr/bin/env bash
# Runs one of Wine's programs inside the Debian root that scripts/wine-root made, against the
# host's X server: the host's /proc, /sys, /dev and /tmp (the X sockets, wineserver's socket)
# and the given folders (the work tree, the build folder) are at the same paths inside, in a
# mount namespace of this process alone, so that every path a check names means the same in
# the root. The process chain stays one process (exec), so the checks' process ids and
# signals reach Wine itself. Wine's WINELOADER and WINESERVER are set to the root's own.
# Usage: in_wine_root.sh ROOT SHARED_FOLDERS LOADER SERVER PROGRAM [ARGUMENTS...]
#   SHARED_FOLDERS: colon-separated absolute paths; LOADER, SERVER: paths inside the root.
set -euo pipefail
exec unshare --mount --propagation private bash -c '
  set -e
  root=$1 shared=$2 loader=$3 server=$4
  shift 4
  IFS=: read -r -a folders <<<"$shared"
  for dir in /proc /sys /dev /tmp "${folders[@]}"; do
    mkdir -p "$root$dir"
    mount --rbind "$dir" "$root$dir"
  done
  export WINELOADER=$loader WINESERVER=$server
  exec chroot "$root" /bin/sh -c "cd \"\$0\" 2>/dev/null || cd /; exec \"\$@\"" "$PWD" "$@"
' in_wine_root "$@"
