#!/usr/bin/env bash
# Installs the build into a temporary root and checks what a desktop needs from it: the
# layout, the validators of the desktop entry, metainfo, file types and man pages, and that
# the installed programs run and find what they need.
# usage: check_install.sh BUILD_DIR VERSION MANUAL_FROM_PROGRAM
set -uo pipefail
build=$1 version=$2 manual_from_program=$3
id=org.quarzel.Simulator
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

if ! cmake --install "$build" --prefix "$root" > "$root.log" 2>&1; then
  cat "$root.log"; rm -f "$root.log"; echo "FAIL: cmake --install"; exit 1
fi
rm -f "$root.log"

# The layout: every file a desktop and a user look for, where they look for it.
for file in bin/quarzel bin/quarzel-cli share/quarzel/quarzel.htm \
    share/quarzel/examples/hello.asm share/quarzel/examples/hello.prg \
    share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
    share/mime/packages/$id.xml share/icons/hicolor/scalable/apps/$id.svg \
    share/man/man1/quarzel.1.gz share/man/man1/quarzel-cli.1.gz \
    share/doc/quarzel/copyright share/doc/quarzel/changelog.gz share/doc/quarzel/README.md \
    share/bash-completion/completions/quarzel share/bash-completion/completions/quarzel-cli; do
  [ -s "$root/$file" ] || fail "missing $file"
done
for program in bin/quarzel bin/quarzel-cli; do
  [ -x "$root/$program" ] || fail "$program is not executable"
done

# Each PNG is the size its folder names (width and height are bytes 16..23 of a PNG).
for size in 16 24 32 48 64 128 256; do
  png=$root/share/icons/hicolor/${size}x${size}/apps/$id.png
  if [ ! -s "$png" ]; then fail "missing the ${size} px icon"; continue; fi
  dims=$(od -An -tu1 -j16 -N8 "$png" | awk '{print $3*256+$4 "x" $7*256+$8}')
  [ "$dims" = "${size}x${size}" ] || fail "the ${size} px icon is $dims"
done

# The program looks for the manual in this folder, seen from its own.
[ -s "$root/bin/$manual_from_program/quarzel.htm" ] ||
  fail "no manual at bin/$manual_from_program/quarzel.htm, where the program looks"

# Validators: any complaint but the desktop entry's hint about two main categories (both
# are asked for) fails.
desktop=$root/share/applications/$id.desktop
out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
grep -v 'contains more than one main category' <<< "$out" | grep -q . && fail "desktop-file-validate: $out"
out=$(appstreamcli validate --no-net "$root/share/metainfo/$id.metainfo.xml" 2>&1) ||
  fail "appstreamcli validate: $out"
for page in quarzel quarzel-cli; do
  out=$(zcat "$root/share/man/man1/$page.1.gz" | groff -man -ww -z 2>&1)
  [ $? -eq 0 ] && [ -z "$out" ] || fail "groff on $page.1: $out"
done

# The man pages name the paths of this install, written when its prefix was known.
man=$(zcat "$root/share/man/man1/quarzel.1.gz" | sed 's/\\-/-/g')
for path in "$root/share/quarzel/quarzel.htm" "$root/share/quarzel/examples/" \
    "$root/share/quarzel" /etc/quarzel "$root/bin" "$root/share/doc/quarzel/"; do
  grep -qF "$path" <<< "$man" || fail "quarzel.1 does not name $path"
done
sed -n '/^\.SH SEE ALSO/,$p' <<< "$man" | grep -qF "$root/share/quarzel/quarzel.htm" ||
  fail "quarzel.1 does not point to the manual under SEE ALSO"
grep -q '@' <<< "$man" && fail "quarzel.1 holds a name that was not filled in"
# Each page names its program's installed completion, and the tool's page tells of "-"
# and "--".
for page in quarzel quarzel-cli; do
  text=$(zcat "$root/share/man/man1/$page.1.gz" | sed 's/\\-/-/g')
  grep -qF "$root/share/bash-completion/completions/$page" <<< "$text" ||
    fail "$page.1 does not name its bash completion"
done
text=$(zcat "$root/share/man/man1/quarzel-cli.1.gz" | sed 's/\\-/-/g')
for phrase in 'is standard input' 'ends the options' 'OPTION = VALUE'; do
  grep -qF -- "$phrase" <<< "$text" || fail "quarzel-cli.1 does not say '$phrase'"
done
zcat "$root/share/man/man1/quarzel-cli.1.gz" | grep -q '^quarzel\\-cli \\- .*grade' ||
  fail "quarzel-cli.1's NAME line does not say that it grades"

# Either completion file, as bash loads it for its program, completes both programs.
for program in quarzel quarzel-cli; do
  out=$(bash -c 'source "$1" && complete -p quarzel quarzel-cli' _ \
    "$root/share/bash-completion/completions/$program" 2>&1)
  [[ $out == *"_quarzel quarzel"*"_quarzel_cli quarzel-cli"* ]] ||
    fail "the completion file $program does not complete both programs: $out"
done

# The documents: the licence in the machine-readable format, the changes with this release
# on top.
copyright=$root/share/doc/quarzel/copyright
head -1 "$copyright" | grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/$' ||
  fail "copyright is not in the machine-readable format"
grep -qx 'License: Expat' "$copyright" || fail "copyright does not give the MIT (Expat) licence"
out=$(zcat "$root/share/doc/quarzel/changelog.gz" | head -1)
[ "$out" = "quarzel ($version) unstable; urgency=medium" ] || fail "changelog.gz begins '$out'"

# The desktop entry starts the installed program on the files it is given, for both
# types, and names the installed icon.
grep -qx 'Exec=quarzel %F' "$desktop" || fail "the desktop entry does not run 'quarzel %F'"
grep -qx "Icon=$id" "$desktop" || fail "the desktop entry's icon is not $id"
for category in Education Development; do
  grep -q "^Categories=.*\b$category;" "$desktop" || fail "category $category missing"
done

# The file types: the database built from our definitions maps both patterns (in any
# case: a glob without the "cs" flag) to types that the desktop entry lists, and the
# source type is text.
mime=$root/share/mime
out=$(XDG_DATA_DIRS="$root/share" update-mime-database "$mime" 2>&1)
[ -z "$out" ] || fail "update-mime-database: $out"
for glob in '*.prg:application/x-quarzel-program' '*.asm:text/x-quarzel-assembly'; do
  type=${glob#*:}
  grep -qF ":$type:${glob%%:*}" "$mime/globs2" || fail "no glob ${glob%%:*} for $type"
  grep -q "^MimeType=.*$type;" "$desktop" || fail "the desktop entry does not list $type"
done
grep -qx 'text/x-quarzel-assembly text/plain' "$mime/subclasses" ||
  fail "assembly sources are not a sub-class of text/plain"
grep -q "<release version=\"$version\"" "$root/share/metainfo/$id.metainfo.xml" ||
  fail "the metainfo's release is not $version"

# A source of our type that no other type claims is ours; another type claiming *.asm with
# the usual weight takes it. Asked of GIO, as a desktop's file manager asks.
if command -v gio > /dev/null; then
  printf 'load R1,[80]\nhalt\n' > "$root/plain.asm"
  type_of() { XDG_DATA_HOME=$root/none XDG_DATA_DIRS=$1 gio info -a standard::content-type \
      "$root/plain.asm" | sed -n 's/^ *standard::content-type: //p'; }
  out=$(type_of "$root/share")
  [ "$out" = text/x-quarzel-assembly ] || fail "a plain .asm is $out"
  # ... and opens in this program by default.
  update-desktop-database "$root/share/applications"
  out=$(PATH=$root/bin:$PATH XDG_DATA_HOME=$root/none XDG_CONFIG_HOME=$root/none \
    XDG_DATA_DIRS=$root/share gio mime text/x-quarzel-assembly | head -1)
  [[ $out == *": $id.desktop" ]] || fail "no default program for assembly sources: $out"
  other=$root/other/mime
  mkdir -p "$other/packages"
  cat > "$other/packages/other.xml" << 'XML'
<?xml version="1.0" encoding="UTF-8"?>
<mime-info xmlns="http://www.freedesktop.org/standards/shared-mime-info">
  <mime-type type="text/x-other-assembly"><glob pattern="*.asm"/></mime-type>
</mime-info>
XML
  update-mime-database "$other" > /dev/null 2>&1
  out=$(type_of "$root/share:$root/other")
  [ "$out" = text/x-other-assembly ] || fail "another assembler's *.asm type lost to ours: $out"
  rm -rf "$root/other" "$root/plain.asm"
else
  fail "gio is missing: cannot check which type an .asm file gets"
fi

# The installed programs run: the versions, and the command-line tool on an example.
for program in quarzel-cli quarzel; do
  out=$("$root/bin/$program" --version 2>&1)
  [[ $out == "$program $version (About box: v"* ]] || fail "$program --version printed '$out'"
done
# Without a display the program says so and ends, where the toolkit would abort.
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/bin/quarzel" 2>&1 > /dev/null)
status=$?
[ $status -eq 1 ] && [[ $out == "quarzel: no display"* ]] ||
  fail "quarzel without a display: status $status, '$out'"
out=$("$root/bin/quarzel-cli" run "$root/share/quarzel/examples/hello.asm" 2> /dev/null)
[ "$out" = "Hello, world!" ] || fail "the example printed '$out'"

# The uninstall target takes back every file of the install and our folders, and the file
# type database it refreshes no longer knows our types.
if cmake --build "$build" --target uninstall > "$root.log" 2>&1; then
  # The databases' own files stay, as they do in a system's share folder.
  left=$(find "$root" \( -path "$root/share/mime" -o -name mimeinfo.cache \) -prune -o \
    ! -type d -print)
  [ -z "$left" ] || fail "left after uninstall: $left"
  for folder in share/quarzel share/doc/quarzel; do
    [ -e "$root/$folder" ] && fail "$folder is left after uninstall"
  done
  grep -q quarzel "$mime/globs2" && fail "the file types are still known after uninstall"
else
  cat "$root.log"; fail "the uninstall target"
fi
rm -f "$root.log"

[ $failures -eq 0 ] && echo "installed layout, validators and programs: all good"
exit $((failures > 0))
