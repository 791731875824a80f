#!/usr/bin/env bash
# The English translation is complete and matches the sources: lupdate over every source of
# the program finds no text that is new or gone (obsolete) against translations/orvi_en.ts,
# and lrelease finds none unfinished. Run on a copy: the source tree is never changed.
# Usage: tools/check-translations.sh BUILD_DIR
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:?usage: check-translations.sh BUILD_DIR}" && pwd)"
tools_dir=$(sed -n 's/^Qt6LinguistTools_DIR:PATH=//p' "$build/CMakeCache.txt")
bin=/usr/lib/qt6/bin
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$root/translations/orvi_en.ts" "$work/orvi_en.ts"
cmake -DIN_FILE="$build/.lupdate/orvi_core_project.cmake" -DOUT_FILE="$work/project.json" \
    -P "$tools_dir/GenerateLUpdateProject.cmake"
update=$("$bin/lupdate" -project "$work/project.json" -locations none -ts "$work/orvi_en.ts" 2>&1)
echo "$update"
release=$("$bin/lrelease" "$work/orvi_en.ts" -qm "$work/orvi_en.qm" 2>&1)
echo "$release"
status=0
if ! grep -Eq '\(0 new and [0-9]+ already existing\)' <<<"$update"; then
    echo "check-translations: texts in the sources are missing from translations/orvi_en.ts;" \
        "run: cmake --build $build --target update_translations, then translate them" >&2
    status=1
fi
if grep -Eq 'Kept [0-9]+ obsolete' <<<"$update"; then
    echo "check-translations: translations/orvi_en.ts holds texts the sources no longer have" >&2
    status=1
fi
if ! grep -Eq '\([0-9]+ finished and 0 unfinished\)' <<<"$release" \
    || grep -Eq 'Ignored [0-9]+ untranslated' <<<"$release"; then
    echo "check-translations: translations/orvi_en.ts has unfinished translations" >&2
    status=1
fi
exit $status
