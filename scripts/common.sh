# Shared by scripts/run and scripts/test: package installation and the build.
# Sourced, not run.

QUORVIK_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# What building and testing the tool needs from Debian 12.
QUORVIK_BUILD_PACKAGES=(
    cmake make g++ pkg-config
    qt6-base-dev qt6-base-dev-tools libgl1-mesa-dev libxcb-randr0-dev
    libgtest-dev
    libyaml-cpp-dev nlohmann-json3-dev libcli11-dev libsqlite3-dev
    fonts-dejavu-core fonts-liberation
    zsh fish
)

# For a script that takes no arguments: --help prints its opening comment
# (the lines after #!), anything else is a usage error.
help_or_no_arguments() {
    local script=$1
    shift
    case "${1:-}" in
        "") return 0 ;;
        -h|--help) sed -n '2,/^[^#]/{/^#/s/^# \{0,1\}//p}' "$script"; exit 0 ;;
        *) echo "$(basename "$script"): unknown option: $1 (it takes none but --help)" >&2; exit 2 ;;
    esac
}

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs whichever of the given Debian packages are missing.
ensure_packages() {
    local missing=()
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "== installing ${#missing[@]} Debian packages and what they need: ${missing[*]}"
        as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq
        # One line a package as apt sets it up, so a long installation shows progress.
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends \
            "${missing[@]}" | { grep --line-buffered '^Setting up ' | sed -u 's/^/   /' || true; }
    fi
}

# Configures and builds a preset; further arguments name targets.
build_preset() {
    local preset=$1
    shift
    cd "$QUORVIK_ROOT"
    cmake --preset "$preset" >/dev/null
    local targets=()
    local target
    for target in "$@"; do targets+=(--target "$target"); done
    cmake --build --preset "$preset" -j "$(nproc)" "${targets[@]}"
}

# What scripts/package-linux and scripts/test-package need besides the build:
# patchelf and the Wayland plugin for the tarball, ImageMagick for the icons,
# dpkg-dev for the .deb's Depends, and what checks the bundle and its files
# (weston runs the window on Wayland without a screen).
QUORVIK_PACKAGE_PACKAGES=(
    patchelf qt6-wayland imagemagick dpkg-dev binutils
    xvfb xdotool x11-utils weston desktop-file-utils appstream man-db
)
