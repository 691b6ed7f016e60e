#!/bin/sh
# Installs Renkari into a temporary prefix and starts the installed program twice as the desktop
# menu would: on an empty home, from a folder that is no working folder. The first start must
# fill the learner's folder from the installed data, the second must keep what the learner changed
# and only bring back what is missing.
# Usage: install_test.sh <build-dir> <source-dir>
set -eu
BUILD=$1
SOURCE=$2
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
PREFIX=$TMP/prefix

fail() {
    echo "install test: $*" >&2
    exit 1
}

cmake --install "$BUILD" --prefix "$PREFIX" >/dev/null
SHARE=$PREFIX/share/renkari
for file in bin/renkari share/applications/renkari.desktop \
    share/icons/hicolor/48x48/apps/renkari.png share/icons/hicolor/256x256/apps/renkari.png \
    share/renkari/Renkari.pref share/renkari/catalog/English.catalog \
    share/renkari/Media/Controls/ok.ico share/renkari/Media/Genshi/Genshiliste.txt \
    share/renkari/Media/Strokes/KanjiVG.strokes lib/renkari/librenkari_sound.so \
    lib/renkari/librenkari_speech.so lib/renkari/librenkari_charts.so; do
    [ -f "$PREFIX/$file" ] || fail "$file was not installed"
done
for line in 'Name=Renkari' 'Exec=renkari' 'Icon=renkari' 'Categories=Education;Languages;'; do
    grep -qxF "$line" "$PREFIX/share/applications/renkari.desktop" || fail "no $line in the entry"
done
# Without the generated JLPT set in the build folder a tiny set stands in, so the test stays quick.
if [ ! -f "$SHARE/Media/JLPT.rki" ]; then
    cp "$SOURCE/tests/data/setfile/written.rki" "$SHARE/Media/JLPT.rki"
fi

mkdir "$TMP/home" "$TMP/xdg" "$TMP/elsewhere"
start() {
    # The timeout only guards against a hang; the program ends on its own right after start-up.
    (cd "$TMP/elsewhere" && HOME=$TMP/home XDG_DATA_HOME=$TMP/xdg RENKARI_QUIT_AFTER_START=1 QT_QPA_PLATFORM=offscreen \
        timeout 120 "$PREFIX/bin/renkari") || fail "the installed program failed ($1 start)"
}

start first
OWN=$TMP/xdg/Renkari
for file in Renkari.pref catalog/English.catalog Media/Controls/ok.ico \
    Media/Genshi/Genshiliste.txt Media/Strokes/KanjiVG.strokes Media/JLPT.rki CREDITS.md; do
    [ -f "$OWN/$file" ] || fail "$file was not copied into the learner's folder"
done
grep -q 'LastSet = JLPT' "$OWN/Renkari.pref" || fail "the demo set is not the one to open"
[ ! -e "$TMP/home/.local/share/Renkari" ] || fail "XDG_DATA_HOME was not followed"
[ -z "$(ls -A "$TMP/elsewhere")" ] || fail "the program wrote into the folder it was started from"

# The learner changes one file and loses another.
printf 'Notiz des Lernenden\n' >>"$OWN/CREDITS.md"
cp "$OWN/CREDITS.md" "$TMP/changed"
rm "$OWN/Media/Controls/ok.ico"
start second
cmp -s "$TMP/changed" "$OWN/CREDITS.md" || fail "a changed file was overwritten"
cmp -s "$SHARE/Media/Controls/ok.ico" "$OWN/Media/Controls/ok.ico" || fail "a lost file was not restored"
echo "install test: passed"
