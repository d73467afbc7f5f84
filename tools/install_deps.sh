#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only when something is
# missing. Every package is named: --no-install-recommends skips fonts, Qt's
# platform plugins and helpers that the tests rely on.
set -euo pipefail
packages=(
  cmake ninja-build g++ pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  liblapack-dev libopenblas-dev                 # the benchmark's yardstick only
  libwmf-bin fonts-urw-base35                   # the independent metafile reader and the fonts it loads
  locales                                       # a decimal-comma locale for the number-text tests
  qt6-base-dev qt6-qpa-plugins libgl-dev        # Qt 6 Widgets, its offscreen/xcb platforms
  qt6-translations-l10n                         # Qt's own dialog buttons in Russian
  fonts-dejavu-core fonts-liberation2           # Cyrillic glyphs for the programs' texts
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
sudo_cmd=()
[ "$(id -u)" = 0 ] || sudo_cmd=(sudo)
if [ ${#missing[@]} -gt 0 ]; then
  "${sudo_cmd[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
# A locale with a decimal comma, so that the tests show number texts ignore the C locale.
if ! locale -a 2>/dev/null | grep -qi '^ru_RU\.utf-\?8$'; then
  "${sudo_cmd[@]}" localedef -i ru_RU -f UTF-8 ru_RU.UTF-8 || echo "install_deps: could not generate ru_RU.UTF-8" >&2
fi
