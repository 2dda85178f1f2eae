# Shared by scripts/run and scripts/test: package installation and the build.
# Sourced, not run.

QUORVIK_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# What building and testing the tool needs from Debian 12.
QUORVIK_BUILD_PACKAGES=(
    cmake make g++ pkg-config
    qt6-base-dev qt6-base-dev-tools libgl1-mesa-dev
    libgtest-dev
    libyaml-cpp-dev nlohmann-json3-dev libcli11-dev libsqlite3-dev
    fonts-dejavu-core fonts-liberation
    zsh fish
)

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
        echo "== installing: ${missing[*]}"
        as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
            "${missing[@]}" >/dev/null
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
