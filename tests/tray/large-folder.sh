#!/bin/sh
# large-folder.sh make|remove PREFIX
# C:\8large of the test prefix: 10,000 subfolders d00000... and 10,000
# files f00000.rctray... Made from the Unix side: Wine makes every new name
# search the whole folder for a case-insensitive twin, so 20,000 creations
# from inside take minutes, from here a second.
set -eu
folder="$2/drive_c/8large"
rm -rf "$folder"
[ "$1" = remove ] && exit 0
mkdir -p "$folder"
cd "$folder"
seq -f 'd%05g' 0 9999 | xargs mkdir
seq -f 'f%05g.rctray' 0 9999 | xargs touch
