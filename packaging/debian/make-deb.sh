#!/usr/bin/env bash
# make-deb.sh OUT.deb WORK VERSION - makes the Debian package of Lumetra from
# the files the build made, without root and without `cmake --install` (which
# would overwrite the build tree's install_manifest.txt).
#
# The variables below name the inputs (packaging/debian/CMakeLists.txt sets
# them). WORK is emptied and holds the staged tree and the source-package
# files that dpkg-shlibdeps and dpkg-gencontrol read. SOURCE_DATE_EPOCH (the
# time of the last commit) dates the changelog and every file, so that two
# builds of one commit give the same bytes.
set -euo pipefail
out=$1 work=$2 version=$3
: "${LUMETRA_MAP:?}" "${LUMETRA_X11:?}" "${LUMETRA_X11_MANUAL:?}" "${LUMETRA_X11_XML:?}" "${LUMETRA_TARGETS:?}"
: "${LUMETRA_CONFIGURED:?}" "${LUMETRA_MAINTAINER:?}" "${SOURCE_DATE_EPOCH:?}" "${STRIP:=strip}"
export LC_ALL=C TZ=UTC SOURCE_DATE_EPOCH
umask 022

rm -rf "$work"
stage=$work/stage
mkdir -p "$work/debian" "$stage/DEBIAN"
put() {  # put MODE SOURCE PATH - a file of the package at PATH
  install -D -m "$1" "$2" "$stage/$3"
}
stripped() {  # stripped PROGRAM PATH - the program without symbols or notes, as dh_strip leaves it
  mkdir -p "$(dirname "$stage/$2")"
  "$STRIP" --remove-section=.comment --remove-section=.note --strip-unneeded -o "$stage/$2" "$1"
  chmod 0755 "$stage/$2"
}
manual() {  # manual GENERATOR... PATH - its page, compressed as Debian's policy asks
  local path=${*: -1}
  mkdir -p "$(dirname "$stage/$path")"
  "${@:1:$#-1}" | gzip -9n >"$stage/$path"
  chmod 0644 "$stage/$path"
}

doc=usr/share/doc/lumetra
stripped "$LUMETRA_MAP" usr/bin/lumetra-map
stripped "$LUMETRA_X11" usr/libexec/xscreensaver/lumetra-x11
put 0644 "$LUMETRA_X11_XML" usr/share/xscreensaver/config/lumetra-x11.xml
put 0644 "$LUMETRA_TARGETS" usr/share/lumetra/lumetra.txt
manual "$LUMETRA_MAP" --man usr/share/man/man1/lumetra-map.1.gz
manual "$LUMETRA_X11_MANUAL" usr/share/man/man6/lumetra-x11.6.gz
put 0644 "$LUMETRA_CONFIGURED/copyright" "$doc/copyright"
put 0644 "$LUMETRA_CONFIGURED/README.Debian" "$doc/README.Debian"
put 0644 "$LUMETRA_CONFIGURED/lintian-overrides" usr/share/lintian/overrides/lumetra

# One entry for the version, dated by the commit.
cat >"$work/debian/changelog" <<CHANGES
lumetra ($version) unstable; urgency=medium

  * Lumetra ${version%-*}.

 -- $LUMETRA_MAINTAINER  $(date -u -R -d "@$SOURCE_DATE_EPOCH")
CHANGES
gzip -9nc "$work/debian/changelog" >"$stage/$doc/changelog.Debian.gz"
chmod 0644 "$stage/$doc/changelog.Debian.gz"

# Depends from the libraries the programs link, then the control file.
cp "$LUMETRA_CONFIGURED/control" "$work/debian/control"
(
  cd "$work"
  dpkg-shlibdeps -Tdebian/substvars "stage/usr/bin/lumetra-map" "stage/usr/libexec/xscreensaver/lumetra-x11"
  dpkg-gencontrol -plumetra -v"$version" -Tdebian/substvars -Pstage -fdebian/files
)
(cd "$stage" && find usr -type f | sort | xargs md5sum >DEBIAN/md5sums)
chmod 0644 "$stage/DEBIAN/control" "$stage/DEBIAN/md5sums"

find "$stage" -type d -exec chmod 0755 {} +
find "$stage" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
dpkg-deb --root-owner-group -Zxz --build "$stage" "$out" >/dev/null
