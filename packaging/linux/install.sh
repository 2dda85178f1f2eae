#!/usr/bin/env bash
# Installs Quorvik for the current user, without root, from the unpacked
# tarball this script sits in; also the way to remove it again.
#
#   ./install.sh              install, replacing an earlier install of any version
#   ./install.sh --uninstall  remove exactly what the install put in place
#   ./install.sh --help       this text
#
# What goes where ("data" is $XDG_DATA_HOME, else ~/.local/share):
#   data/quorvik/                                 the programs, their libraries and Qt plugins
#   ~/.local/bin/quorvik, ~/.local/bin/quorvik-cli  links to the programs
#   data/applications/org.quorvik.Quorvik.desktop   the application menu's entry
#   data/icons/hicolor/<size>/apps/quorvik.png      its icon, 16 to 256 pixels
#   data/metainfo/org.quorvik.Quorvik.metainfo.xml  what software centres show
#   data/man/man1/quorvik.1.gz, quorvik-cli.1.gz    the manual pages
#   completions: bash in ${BASH_COMPLETION_USER_DIR:-data/bash-completion}/completions,
#   zsh in data/zsh/site-functions, fish in ${XDG_CONFIG_HOME:-~/.config}/fish/completions
#
# Bash and fish look in those folders by themselves; zsh looks only in the
# folders of its $fpath, which holds no folder of the user's. So for a zsh user
# whose .zshrc does not name that folder yet, the install prints the one line
# to add there.
#
# Every file and folder it makes is listed in data/quorvik/installed-files;
# --uninstall removes those and nothing else. A file already in one of those
# places that an install of Quorvik did not put there stops the install before
# anything is changed.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
app_id=org.quorvik.Quorvik
programs=(quorvik quorvik-cli)

# The comment at the top of this file.
usage() { awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' "$0"; }

uninstall=0
for argument in "$@"; do
    case "$argument" in
        --uninstall) uninstall=1 ;;
        -h|--help) usage; exit 0 ;;
        *) echo "install.sh: unknown option $argument (see --help)" >&2; exit 2 ;;
    esac
done

if [ -z "${HOME:-}" ] || [ ! -d "$HOME" ]; then
    echo "install.sh: HOME is not set to a folder" >&2
    exit 1
fi
# The base directory variables count only when they hold an absolute path.
absolute_or() { case "${1:-}" in /*) printf '%s' "$1" ;; *) printf '%s' "$2" ;; esac; }
data=$(absolute_or "${XDG_DATA_HOME:-}" "$HOME/.local/share")
config=$(absolute_or "${XDG_CONFIG_HOME:-}" "$HOME/.config")
bash_completions=$(absolute_or "${BASH_COMPLETION_USER_DIR:-}" "$data/bash-completion")/completions
bin=$HOME/.local/bin
target=$data/quorvik
manifest=$target/installed-files

# --- removing ----------------------------------------------------------------

# Removes what the manifest lists: files and links, then the bundle, then the
# folders the install made, deepest first, where they are empty now.
remove_installed() {
    local kind path
    local folders=()
    while IFS=' ' read -r kind path; do
        case "$kind" in
            file) rm -f -- "$path" ;;
            folder) folders+=("$path") ;;
        esac
    done <"$manifest"
    rm -rf -- "$target"
    local i
    for ((i = ${#folders[@]} - 1; i >= 0; i--)); do
        rmdir -- "${folders[i]}" 2>/dev/null || true
    done
}

if [ "$uninstall" -eq 1 ]; then
    if [ ! -f "$manifest" ]; then
        echo "install.sh: Quorvik is not installed for $(id -un) (no $manifest)" >&2
        exit 1
    fi
    remove_installed
    echo "Quorvik is removed."
    exit 0
fi

# --- installing --------------------------------------------------------------

for file in bin/quorvik bin/quorvik-cli "share/applications/$app_id.desktop"; do
    if [ ! -e "$here/$file" ]; then
        echo "install.sh: $here/$file is missing: run install.sh from the unpacked tarball" >&2
        exit 1
    fi
done
if [ "$here" = "$target" ]; then
    echo "install.sh: this is the installed copy; run the install.sh of a new tarball, or --uninstall" >&2
    exit 1
fi

# Where each file outside the bundle goes, as "source destination" pairs.
placed=()
place() { placed+=("$1" "$2"); }
for program in "${programs[@]}"; do
    place "link:$target/bin/$program" "$bin/$program"
    place "share/man/man1/$program.1.gz" "$data/man/man1/$program.1.gz"
    place "share/bash-completion/completions/$program" "$bash_completions/$program"
    place "share/zsh/site-functions/_$program" "$data/zsh/site-functions/_$program"
    place "share/fish/vendor_completions.d/$program.fish" "$config/fish/completions/$program.fish"
done
place "desktop:share/applications/$app_id.desktop" "$data/applications/$app_id.desktop"
place "share/metainfo/$app_id.metainfo.xml" "$data/metainfo/$app_id.metainfo.xml"
for icon in "$here"/share/icons/hicolor/*/apps/quorvik.png; do
    size=$(basename "$(dirname "$(dirname "$icon")")")
    place "share/icons/hicolor/$size/apps/quorvik.png" "$data/icons/hicolor/$size/apps/quorvik.png"
done

# Another install of ours is replaced; anything else in our way stops us.
previous=()
if [ -f "$manifest" ]; then
    while IFS=' ' read -r kind path; do
        if [ "$kind" = file ]; then previous+=("$path"); fi
    done <"$manifest"
elif [ -e "$target" ]; then
    echo "install.sh: $target is in the way: it was not made by this installer" >&2
    exit 1
fi
ours() {
    local path
    for path in "${previous[@]}"; do [ "$path" = "$1" ] && return 0; done
    return 1
}
for ((i = 1; i < ${#placed[@]}; i += 2)); do
    destination=${placed[i]}
    if { [ -e "$destination" ] || [ -L "$destination" ]; } && ! ours "$destination"; then
        echo "install.sh: $destination is in the way: it was not put there by an install of Quorvik" >&2
        exit 1
    fi
done
if [ -f "$manifest" ]; then
    remove_installed
fi

# The manifest is written as the install goes, so an install stopped halfway
# can still be removed.
created=()
make_folder() {  # make_folder DIR: makes DIR and its missing parents, noting each
    local missing=() dir=$1
    while [ ! -d "$dir" ]; do
        missing+=("$dir")
        dir=$(dirname "$dir")
    done
    local i
    for ((i = ${#missing[@]} - 1; i >= 0; i--)); do
        mkdir -- "${missing[i]}"
        created+=("${missing[i]}")
    done
}
make_folder "$data"
# The bundle: everything unpacked, this script included, for --uninstall later.
make_folder "$target"
: >"$manifest"
for folder in "${created[@]}"; do echo "folder $folder" >>"$manifest"; done
created=()
cp -R -- "$here/." "$target/"

# An Exec= argument quoted as desktop entries quote it: a path with a space or
# a quote in it is put in double quotes, with the characters the format
# reserves escaped, and every backslash doubled once more for the file itself.
desktop_argument() {
    local text=$1
    if [[ $text =~ ^[A-Za-z0-9_./+@:,=-]+$ ]]; then
        printf '%s' "$text"
        return
    fi
    text=${text//\\/\\\\}
    text=${text//\"/\\\"}
    text=${text//\`/\\\`}
    text=${text//\$/\\\$}
    text=${text//\\/\\\\}
    text=${text//%/%%}
    printf '"%s"' "$text"
}

for ((i = 0; i < ${#placed[@]}; i += 2)); do
    source=${placed[i]}
    destination=${placed[i + 1]}
    parent=$(dirname "$destination")
    make_folder "$parent"
    for folder in "${created[@]}"; do echo "folder $folder" >>"$manifest"; done
    created=()
    echo "file $destination" >>"$manifest"
    case "$source" in
        link:*)
            ln -sfn -- "${source#link:}" "$destination"
            ;;
        desktop:*)
            # The menu entry starts the installed program by its full path, so
            # it works whether or not ~/.local/bin is on PATH.
            exec_line="Exec=$(desktop_argument "$target/bin/quorvik")"
            sed -e "/^TryExec=/d" -e "s|^Exec=.*|$(printf '%s' "$exec_line" | sed 's/[\\&|]/\\&/g')|" \
                "$here/${source#desktop:}" >"$destination"
            ;;
        *)
            cp -- "$here/$source" "$destination"
            ;;
    esac
done

echo "Quorvik is installed in $target."
echo "Start it from the application menu (Games), or run quorvik; quorvik-cli is the console program."
case ":${PATH:-}:" in
    *":$bin:"*) ;;
    *) echo "$bin is not on your PATH: add it to run quorvik and quorvik-cli by name." ;;
esac
echo "To remove it: $target/install.sh --uninstall"

# zsh's completion folder, for whoever uses zsh and has not named it yet.
zsh_functions=$data/zsh/site-functions
zshrc=$(absolute_or "${ZDOTDIR:-}" "$HOME")/.zshrc
fpath_line="fpath=('${zsh_functions//\'/\'\\\'\'}' \$fpath)"
if { [[ ${SHELL:-} == */zsh ]] || [ -e "$zshrc" ]; } && ! grep -qF -- "$fpath_line" "$zshrc" 2>/dev/null; then
    echo "For zsh to complete quorvik and quorvik-cli, add this line to $zshrc before compinit runs:"
    echo "  $fpath_line"
fi
