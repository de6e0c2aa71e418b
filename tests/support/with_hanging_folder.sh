#!/usr/bin/env bash
# with_hanging_folder.sh COMMAND... - runs COMMAND with LUMETRA_HANGING_FOLDER
# naming a folder in which every path hangs: a FUSE mount whose server never
# answers (its descriptor is held here and never read). Afterwards the mount
# is detached and the descriptor closed, which releases whatever still waits
# in it. Without root or FUSE, COMMAND runs without the variable.
set -uo pipefail
folder=$(mktemp -d) || exit 1
cleanup() {
    umount -l "$folder" 2>/dev/null
    exec 9>&-
    rmdir "$folder"
}
trap cleanup EXIT
if [ "$(id -u)" -eq 0 ] && [ -c /dev/fuse ]; then
    exec 9<>/dev/fuse
    mount -t fuse -o fd=9,rootmode=40000,user_id=0,group_id=0 lumetra-hang "$folder" &&
        export LUMETRA_HANGING_FOLDER=$folder
fi
"$@" 9>&-
