# Shared by ./run and ./test: install what is missing, configure and build.
# Sourced, not run.

LUMIDEX_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Debian 12 packages the build, the tests and the programs need.
LUMIDEX_PACKAGES=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools
    libzip-dev libarchive-dev libcdio-dev libblkid-dev
    libgtest-dev libgmock-dev
    zip unzip gcab arj jlha-utils xorriso
    xvfb xauth imagemagick
)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    elif command -v sudo >/dev/null 2>&1; then
        sudo "$@"
    else
        echo "Installing packages needs root: run as root or install sudo." >&2
        return 1
    fi
}

ensure_packages() {
    local missing=()
    local pkg
    for pkg in "${LUMIDEX_PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}" >&2
    as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq >&2 &&
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
}

# build_tree DIR CMAKE_ARGS... : configure once, then build incrementally.
build_tree() {
    local dir=$1
    shift
    if [ ! -f "$dir/build.ninja" ]; then
        cmake -S "$LUMIDEX_ROOT" -B "$dir" -G Ninja "$@" >&2 || return 1
    fi
    cmake --build "$dir" >&2
}
