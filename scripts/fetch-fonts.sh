#!/usr/bin/env bash
# Places the program's fonts into DEST_DIR (the build tree; no font file is
# kept in the repository):
#   IBMPlexSans.ttf, IBMPlexSans-Italic.ttf, IBMPlexMono-Medium.ttf
#       from the IBM Plex packages on the npm registry, which ship WOFF only;
#       unpacked to TrueType by woff-to-sfnt.py
#   MaterialIcons-Regular.otf
#       from Debian's fonts-material-design-icons-iconfont
# Fonts already in DEST_DIR are kept, so only the first configure downloads.
# Exits 1, naming what is missing, when a font could not be had; the build
# then goes on without it and the program falls back to the system font.
set -uo pipefail

PLEX_SANS=@ibm/plex-sans@1.1.0
PLEX_MONO=@ibm/plex-mono@2.5.0
MATERIAL_ICONS=/usr/share/fonts/truetype/material-design-icons-iconfont/MaterialIcons-Regular.ttf

if [ $# -ne 1 ]; then
  echo "usage: $0 DEST_DIR" >&2
  exit 2
fi
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
dest="$1"
mkdir -p "$dest"
missing=()

if [ -f "$MATERIAL_ICONS" ]; then
  cmp -s "$MATERIAL_ICONS" "$dest/MaterialIcons-Regular.otf" \
    || cp "$MATERIAL_ICONS" "$dest/MaterialIcons-Regular.otf"
elif [ ! -f "$dest/MaterialIcons-Regular.otf" ]; then
  echo "Material Icons: $MATERIAL_ICONS not found (install fonts-material-design-icons-iconfont)." >&2
  missing+=(MaterialIcons-Regular.otf)
fi

# target file | npm package | file inside the package
plex=(
  "IBMPlexSans.ttf|$PLEX_SANS|package/fonts/complete/woff/IBMPlexSans-Regular.woff"
  "IBMPlexSans-Italic.ttf|$PLEX_SANS|package/fonts/complete/woff/IBMPlexSans-Italic.woff"
  "IBMPlexMono-Medium.ttf|$PLEX_MONO|package/fonts/complete/woff/IBMPlexMono-Medium.woff"
)
wanted=()
for entry in "${plex[@]}"; do
  [ -f "$dest/${entry%%|*}" ] || wanted+=("$entry")
done

if [ ${#wanted[@]} -gt 0 ]; then
  python="$(command -v python3 || true)"
  if ! command -v npm >/dev/null 2>&1; then
    echo "IBM Plex: npm is not installed, so the fonts cannot be fetched." >&2
  elif [ -z "$python" ]; then
    echo "IBM Plex: python3 is not installed, so the fonts cannot be unpacked." >&2
  else
    work="$(mktemp -d)"
    trap 'rm -rf "$work"' EXIT
    packages=$(printf '%s\n' "${wanted[@]}" | cut -d'|' -f2 | sort -u)
    # shellcheck disable=SC2086
    if ! (cd "$work" && timeout 300 npm pack --loglevel=error --fetch-retries=1 --fetch-timeout=60000 \
            $packages >/dev/null 2>"$work/npm.log"); then
      echo "IBM Plex: 'npm pack' failed (offline?): $(head -n 2 "$work/npm.log" | tr '\n' ' ')" >&2
    fi
    for entry in "${wanted[@]}"; do
      IFS='|' read -r target package member <<<"$entry"
      name="${package#@}"; name="${name//\//-}"; name="${name/@/-}"
      tarball="$work/$name.tgz"
      [ -f "$tarball" ] || continue
      if tar -xzf "$tarball" -C "$work" "$member" 2>/dev/null \
          && "$python" "$here/woff-to-sfnt.py" "$work/$member" "$dest/$target.part"; then
        mv "$dest/$target.part" "$dest/$target"
      else
        rm -f "$dest/$target.part"
        echo "IBM Plex: $member not found or not unpackable in $package." >&2
      fi
    done
  fi
  for entry in "${wanted[@]}"; do
    [ -f "$dest/${entry%%|*}" ] || missing+=("${entry%%|*}")
  done
fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "Missing fonts: ${missing[*]}" >&2
  exit 1
fi
exit 0
