#!/bin/sh
# bin/quorvik in the Linux tarball: starts the window, libexec/quorvik, after
# doing two things the loader cannot do for it.
#
# Another program's library path is left out. Steam may start a non-Steam
# program from Gaming Mode with its runtime's LD_LIBRARY_PATH, which the
# loader searches before the bundle's own lib/: an older libjpeg or libsqlite3
# there would be loaded in place of the bundle's. So each folder of
# LD_LIBRARY_PATH that holds a library lib/ carries is dropped (the others
# stay), and QT_PLUGIN_PATH and QT_QPA_PLATFORM_PLUGIN_PATH, which would bring
# another Qt's plugins into this one, are unset.
#
# A library the system must provide may be missing. libexec/system-libraries
# names them: those needed always, for the X11 and for the Wayland window
# system plugin, and the Debian package that has each. The player
# is told which library is missing and how to get it, instead of the loader's
# message or Qt's "no platform plugin": on standard error, and, when not
# started from a terminal, in a dialog (zenity, kdialog) or a notification.
# The plugins count for the displays there are; where only one of two has its
# libraries, Qt is sent to that one. Each library is looked for in the
# system's own library folder first, and only one not found there is asked of
# the loader, which knows every folder it searches: a library the loader would
# find is never reported, and a normal start costs little more than this
# script's own start.
set -u

# The unpacked or installed tarball, also through ~/.local/bin's link.
self=$0
if [ -L "$self" ]; then self=$(readlink -f -- "$self"); fi
top=$(cd -P -- "${self%/*}/.." && pwd)
program=$top/libexec/quorvik
loader=/lib64/ld-linux-x86-64.so.2
# $quorvik, $xcb and $wayland: the sonames needed always, for X11, for
# Wayland; $packages: "soname:package" words.
# shellcheck source=/dev/null
. "$top/libexec/system-libraries"
: "${quorvik?}" "${xcb?}" "${wayland?}" "${packages?}"

# --- the library path --------------------------------------------------------

unset QT_PLUGIN_PATH QT_QPA_PLATFORM_PLUGIN_PATH
if [ -n "${LD_LIBRARY_PATH+set}" ]; then
    kept=
    rest=$LD_LIBRARY_PATH:
    while [ -n "$rest" ]; do
        folder=${rest%%:*}
        rest=${rest#*:}
        # An empty entry means the current folder, which nobody means here.
        [ -n "$folder" ] || continue
        for library in "$top"/lib/*.so*; do
            if [ -e "$folder/${library##*/}" ]; then
                folder=
                break
            fi
        done
        if [ -n "$folder" ]; then kept=${kept:+$kept:}$folder; fi
    done
    if [ -n "$kept" ]; then
        LD_LIBRARY_PATH=$kept
        export LD_LIBRARY_PATH
    else
        unset LD_LIBRARY_PATH
    fi
fi

# --- the libraries the system must provide ---------------------------------

# The system's own 64-bit library folders: where its libc is (Debian and
# Ubuntu keep two, Fedora /usr/lib64, Arch and SteamOS /usr/lib).
system_folders=
for folder in /usr/lib/x86_64-linux-gnu /lib/x86_64-linux-gnu /usr/lib64 /usr/lib; do
    if [ -e "$folder/libc.so.6" ]; then
        system_folders="$system_folders $folder"
        case $folder in */x86_64-linux-gnu) ;; *) break ;; esac
    fi
done

# unusable SONAMES OBJECT...: sets $unusable to the libraries OBJECT...
# cannot load, each followed by a blank, if one of SONAMES is not in the
# system's folders; to nothing otherwise.
unusable() {
    unusable=
    unsure=
    for soname in $1; do
        for folder in $system_folders; do
            if [ -s "$folder/$soname" ]; then
                soname=
                break
            fi
        done
        unsure=$unsure$soname
    done
    shift
    [ -n "$unsure" ] || return 0
    # The loader says "NAME => not found", or stops at a file it cannot load.
    unusable=$(
        for object in "$@"; do
            "$loader" --list "$object" 2>&1
        done | sed -n -e 's/^[[:space:]]*\([^[:space:]]*\) => not found$/\1/p' \
            -e 's/.*error while loading shared libraries: \([^:]*\): .*/\1/p' |
            sed 's|.*/||' | sort -u | tr '\n' ' '
    )
}

# debian_packages SONAME...: the Debian packages that have them.
debian_packages() {
    for soname in "$@"; do
        for pair in $packages; do
            if [ "${pair%%:*}" = "$soname" ]; then
                printf ' %s' "${pair#*:}"
                break
            fi
        done
    done | sed 's/^ //'
}

# tell TEXT: on standard error, and in a window when not in a terminal.
tell() {
    printf '%s\n' "$1" >&2
    if [ -t 2 ] || [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then return; fi
    if command -v zenity >/dev/null 2>&1; then
        zenity --error --title=Quorvik --no-markup --text="$1" 2>/dev/null
    elif command -v kdialog >/dev/null 2>&1; then
        kdialog --title Quorvik --error "$1" 2>/dev/null
    elif command -v notify-send >/dev/null 2>&1; then
        notify-send --app-name=Quorvik --icon=dialog-error "Quorvik cannot start" "$1" 2>/dev/null
    fi
}

unusable "$quorvik" "$program"
missing=$unusable
if [ -z "$missing" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    usable=
    lacking=
    if [ -n "${WAYLAND_DISPLAY:-}" ]; then
        unusable "$wayland" "$top/plugins/platforms/libqwayland-generic.so" \
            "$top/plugins/wayland-shell-integration/libxdg-shell.so"
        if [ -z "$unusable" ]; then usable=wayland; else lacking=$lacking$unusable; fi
    fi
    if [ -n "${DISPLAY:-}" ]; then
        unusable "$xcb" "$top/plugins/platforms/libqxcb.so"
        if [ -z "$unusable" ]; then usable=${usable:-xcb}; else lacking=$lacking$unusable; fi
    fi
    if [ -n "$lacking" ] && [ -z "$usable" ]; then
        missing=$lacking
    elif [ -n "$lacking" ]; then
        printf 'quorvik: this system lacks %s, so the window opens on %s\n' \
            "${lacking% }" "$([ "$usable" = xcb ] && echo X11 || echo Wayland)" >&2
        QT_QPA_PLATFORM=$usable
        export QT_QPA_PLATFORM
    fi
fi

if [ -n "$missing" ]; then
    # shellcheck disable=SC2086 # one word a library
    set -- $missing
    names=$(echo "$@" | sed 's/ /, /g; s/, \([^,]*\)$/ and \1/')
    if [ $# -eq 1 ]; then which=it; else which=them; fi
    tell "Quorvik cannot start: this system lacks $names, which the window needs.
Install $which with your system's package manager: on Debian and Ubuntu,
  sudo apt install $(debian_packages "$@")
elsewhere, the package that provides $names."
    exit 127
fi

exec "$program" "$@"
