# Shared by the scripts: installs what is missing, then configures and builds.
# Sourced, not run; KNIGHT_PACKAGES may name extra Debian packages first.

set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

packages=(
    cmake g++ make pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-base-private-dev libqt6test6 libgl-dev
    qt6-multimedia-dev # the gallop's beat
    libqt6sql6-sqlite # the class's results
    libqt6sql6-psql postgresql # a computer room's results on one server, and its tests
    qt6-tools-dev qt6-l10n-tools # the English catalogue: lupdate, lrelease
    qt6-translations-l10n # Qt's own dialogs and menus in Bulgarian
    fonts-liberation # metric twin of Times New Roman, the window's typeface
    ${KNIGHT_PACKAGES:-}
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' \
        || missing+=("$package")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo=()
    ((EUID == 0)) || sudo=(sudo)
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

build_dir=${BUILD_DIR:-build}
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release ${KNIGHT_CMAKE_ARGS:-} >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)"
