#!/usr/bin/env bash
# Builds the libraries without Qt, tarvane-convert and the engine's tests for Debian's other
# release architectures with Debian's cross compilers and the package's own compiler flags,
# runs the tests under qemu-user, and compares what tarvane-convert prints for every pair of
# units (every unit of the catalogue, and powers across other impedances) over a table of
# values, at 4 and 10 decimals and in the general form, with this machine's build. Prints one line per architecture; the exit status is 1 when a test fails
# or a single line differs.
#
#     bash scripts/cross-check.sh [ARCHITECTURE...]      (all of them by default)
#
# Qt Test for each architecture comes from Debian's own packages of it, downloaded by name and
# unpacked into the build folder, never installed: the tests build and run as they do here.
set -euo pipefail
cd "$(dirname "$0")/.."

# Debian's name of a processor, its GNU type (the cross compiler's prefix) and multiarch folder.
gnu_type() { dpkg-architecture -a "$1" -qDEB_HOST_GNU_TYPE 2>/dev/null; }
multiarch() { dpkg-architecture -a "$1" -qDEB_HOST_MULTIARCH 2>/dev/null; }
processor() { dpkg-architecture -a "$1" -qDEB_HOST_GNU_CPU 2>/dev/null; }
# How a program of that architecture runs here, with the libraries of the folder $2: under
# qemu-user, or natively for i386 on an amd64 processor, through the cross C library's loader
# (qemu-user's i386 spins for ever in Qt Test's start-up; the real x87 unit is the better
# check anyway).
runner() {
    local triplet libraries=$2
    triplet=$(gnu_type "$1")
    case $(processor "$1") in
    i686) echo "/usr/$triplet/lib/ld-linux.so.2 --library-path $libraries:/usr/$triplet/lib" ;;
    powerpc64le) echo "qemu-ppc64le -L /usr/$triplet -E LD_LIBRARY_PATH=$libraries" ;;
    *) echo "qemu-$(processor "$1") -L /usr/$triplet -E LD_LIBRARY_PATH=$libraries" ;;
    esac
}
libraries() { echo "$root/$1/sysroot/usr/lib/$(multiarch "$1"):$root/$1/sysroot/lib/$(multiarch "$1")"; }
# Qt Test and what it needs at build and run time, beyond the cross compiler's C++ library.
qt_packages=(
    qt6-base-dev qmake6 libqt6core6 libqt6test6 libicu72 libglib2.0-0 libpcre2-16-0 libpcre2-8-0
    libzstd1 zlib1g libdouble-conversion3 libb2-1 libgomp1 libffi8 libmount1 libselinux1
    libblkid1
)

architectures=("$@")
if ((${#architectures[@]} == 0)); then
    architectures=(arm64 armel armhf i386 mips64el ppc64el s390x)
fi
compilers=()
for arch in "${architectures[@]}"; do
    [[ -n "$(gnu_type "$arch")" ]] || { echo "unknown architecture: $arch" >&2; exit 2; }
    compilers+=("g++-$(gnu_type "$arch")")
done
bash scripts/install-deps.sh qemu-user "${compilers[@]}"

root=$PWD/build/cross
host_triplet=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
mkdir -p "$root"
jobs=$(nproc)
if command -v ccache >/dev/null; then
    export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
    export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
fi
# The flags a Debian build daemon uses for the package (debian/rules), for that architecture.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all DEB_CXXFLAGS_MAINT_APPEND=-fstack-clash-protection

# Unpacks Qt Test and its libraries for an architecture into $root/<arch>/sysroot, through
# an apt of the build folder's own that reads the machine's package sources.
make_sysroot() {
    local arch=$1 apt=$root/$1/apt sysroot=$root/$1/sysroot
    [[ -e "$sysroot/.complete" ]] && return
    rm -rf "$apt" "$sysroot"
    mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial" "$apt/debs" "$sysroot"
    touch "$apt/status"
    local options=(-o "Dir::State::Lists=$apt/lists" -o "Dir::State::Status=$apt/status"
        -o "Dir::Cache=$apt/cache" -o "APT::Architecture=$arch" -o "APT::Architectures::=$arch"
        -o Debug::NoLocking=1 -o APT::Sandbox::User=root)
    apt-get "${options[@]}" -qq update
    (cd "$apt/debs" && apt-get "${options[@]}" -qq download "${qt_packages[@]}")
    for deb in "$apt/debs"/*.deb; do
        dpkg-deb -x "$deb" "$sysroot"
    done
    touch "$sysroot/.complete"
}

# Configures and builds one architecture's tree; "native" is this machine's, the reference.
build_tree() {
    local arch=$1 build=$root/$1/build
    local configure=(-S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=None -DTARVANE_ENGINE_ONLY=ON
        -DTARVANE_WERROR=ON)
    # Configured afresh each time, so that the flags and the toolchain are those of today.
    rm -f "$build/CMakeCache.txt"
    if [[ $arch == native ]]; then
        CXXFLAGS=$(dpkg-buildflags --get CXXFLAGS) LDFLAGS=$(dpkg-buildflags --get LDFLAGS) \
            cmake "${configure[@]}" >"$root/native.configure.log"
    else
        local triplet sysroot=$root/$arch/sysroot libraries
        triplet=$(gnu_type "$arch")
        libraries=$(libraries "$arch")
        cat >"$root/$arch/toolchain.cmake" <<EOF
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR $(processor "$arch"))
set(CMAKE_LIBRARY_ARCHITECTURE $(multiarch "$arch"))
set(CMAKE_CXX_COMPILER $triplet-g++)
set(CMAKE_FIND_ROOT_PATH $sysroot)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-Wl,-rpath-link,${libraries//:/ -Wl,-rpath-link,}")
set(CMAKE_CROSSCOMPILING_EMULATOR $(runner "$arch" "$libraries"))
# Qt's own tools (moc) are this machine's.
set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/$host_triplet/cmake)
set(Qt6CoreTools_DIR /usr/lib/$host_triplet/cmake/Qt6CoreTools)
EOF
        CXXFLAGS=$(DEB_HOST_ARCH=$arch dpkg-buildflags --get CXXFLAGS) \
            LDFLAGS=$(DEB_HOST_ARCH=$arch dpkg-buildflags --get LDFLAGS) \
            cmake "${configure[@]}" -DCMAKE_TOOLCHAIN_FILE="$root/$arch/toolchain.cmake" \
            >"$root/$arch/configure.log"
    fi
    cmake --build "$build" -j "$jobs" >"$root/$arch.build.log" ||
        { cat "$root/$arch.build.log"; return 1; }
}

# Every unit as a level names it: those of the table of every unit (dBFS with its full
# scale), and powers across two other impedances.
units() {
    { "$root/native/build/cli/tarvane-convert" --all 1 V || true; } | awk '{ print $1 }'
    echo dBm@75 W@8
}

# Every value of the table with every unit's name, one level per line.
write_levels() {
    local identifiers
    identifiers=$(units | tr ' ' '\n')
    awk -v identifiers="$identifiers" 'BEGIN {
        # Levels in dB from -200 to 200, voltages, powers and deviations from 1e-12 to 1e6,
        # and the edges of the range and of the domain of each unit.
        for (x = -200; x <= 200.0001; x += 0.37) values[n++] = sprintf("%.6g", x)
        for (e = -12; e <= 6; e += 0.025) values[n++] = sprintf("%.12g", 10 ^ e)
        for (e = -12; e <= 6; e += 0.1) values[n++] = sprintf("%.12g", -(10 ^ e))
        edges = "0 -0 1 -1 12 75 80 1e-310 -1e-310 4.9e-324 5e-324 1e-320 1e-160 1e-200 " \
            "1e154 1.5e154 1e307 1e308 -1e308 1.7976931348623157e308 3080 3085 3100 -3100 " \
            "6160 -6160 -6200 -6400 -6500 -7000 7000 8000 -8000 49000 -49000 1e300 -1e300"
        split(edges, edge, " ")
        for (i = 1; i in edge; ++i) values[n++] = edge[i]
        count = split(identifiers, unit, "\n")
        for (u = 1; u <= count; ++u)
            for (i = 0; i < n; ++i) print values[i] " " unit[u]
    }' >"$root/levels.txt"
}

# What tarvane-convert prints for every level into every unit, at each precision.
convert_all() {
    local arch=$1 run=()
    if [[ $arch != native ]]; then
        read -r -a run <<<"$(runner "$arch" "$(libraries "$arch")")"
    fi
    local program=$root/$arch/build/cli/tarvane-convert
    for precision in 4 10 0; do
        for to in $(units); do
            "${run[@]}" "$program" "$to" -p "$precision" <"$root/levels.txt" || true
        done >"$root/$arch/converted-p$precision.txt"
    done
}

status=0
mkdir -p "$root/native"
build_tree native
write_levels
convert_all native
for arch in "${architectures[@]}"; do
    mkdir -p "$root/$arch"
    make_sysroot "$arch"
    build_tree "$arch"
    tests=passed
    # tst_ConvertCommand starts tarvane-convert through QProcess, whose way of starting a
    # process qemu-user refuses (clone with CLONE_VFORK | CLONE_PIDFD): the comparison below
    # checks tarvane-convert instead.
    if ! ctest --test-dir "$root/$arch/build" -j "$jobs" -E tst_ConvertCommand \
        >"$root/$arch.tests.log" 2>&1; then
        tests="FAILED (see $root/$arch.tests.log)"
        status=1
    fi
    convert_all "$arch"
    summary=""
    for precision in 4 10 0; do
        read -r differ failures < <(paste -d '|' "$root/native/converted-p$precision.txt" \
            "$root/$arch/converted-p$precision.txt" | awk -F '|' '
                $1 != $2 { ++differ; if (($1 == "-.--") != ($2 == "-.--")) ++failures }
                END { print differ + 0, failures + 0 }')
        summary+=" p$precision: $differ differ ($failures convert on one side only);"
        ((differ == 0)) || status=1
    done
    lines=$(wc -l <"$root/$arch/converted-p4.txt")
    echo "$arch: tests $tests; $lines lines per precision;$summary"
done
exit "$status"
