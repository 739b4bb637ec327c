#!/usr/bin/env bash
# Compares the benchmarks of an older revision with those of the working tree as it is now.
#
#   bench/compare.sh [--rounds N] [--only NAME] REV
#
# REV is checked out into a temporary git worktree and built (Release, without tests) in
# build-compare/old-<commit>; that build is kept and reused, since a commit never changes.
# The working tree is built in build-compare/new. Then the benchmark programs of both run
# alternately, old, new, old, new ... for N rounds (3 by default), so that load on the
# machine falls on both alike, and the figures are printed per benchmark, old then new,
# one block per round. --only runs one benchmark (bench_core, bench_asm or bench_app). A
# benchmark that REV does not have is skipped with a note.
set -euo pipefail

usage() {
    echo "usage: $0 [--rounds N] [--only NAME] REV" >&2
    exit 2
}

rounds=3
only=""
rev=""
while [ $# -gt 0 ]; do
    case "$1" in
        --rounds)
            [ $# -ge 2 ] || usage
            rounds=$2
            shift 2
            ;;
        --only)
            [ $# -ge 2 ] || usage
            only=$2
            shift 2
            ;;
        -h | --help) usage ;;
        -*) usage ;;
        *)
            [ -z "$rev" ] || usage
            rev=$1
            shift
            ;;
    esac
done
[ -n "$rev" ] || usage
[[ "$rounds" =~ ^[1-9][0-9]*$ ]] || { echo "--rounds takes a positive whole number" >&2; exit 2; }

# Each benchmark and its arguments; bench_app needs no display but a platform plugin.
names=(bench_core bench_asm bench_app)
declare -A args=([bench_core]="" [bench_asm]="" [bench_app]="3")
if [ -n "$only" ]; then
    [ -n "${args[$only]+set}" ] || { echo "--only takes one of: ${names[*]}" >&2; exit 2; }
    names=("$only")
fi
export QT_QPA_PLATFORM=offscreen

root=$(git -C "$(dirname "$0")/.." rev-parse --show-toplevel)
cd "$root"
commit=$(git rev-parse --verify --quiet "$rev^{commit}") || { echo "no such revision: $rev" >&2; exit 2; }
short=$(git rev-parse --short "$commit")
out=$root/build-compare
old_build=$out/old-$short
new_build=$out/new
mkdir -p "$out"

# Whether the tree at $1 (a commit, or "" for the working tree) defines target $2.
has_target() {
    if [ -n "$1" ]; then
        git grep -q -E "add_executable\($2( |\))" "$1" -- 'bench/*CMakeLists.txt'
    else
        grep -q -E "add_executable\($2( |\))" bench/*/CMakeLists.txt
    fi
}

run_names=()
for name in "${names[@]}"; do
    if ! has_target "" "$name"; then
        echo "note: the working tree has no $name; skipped"
    elif ! has_target "$commit" "$name"; then
        echo "note: $short has no $name; skipped"
    else
        run_names+=("$name")
    fi
done
[ ${#run_names[@]} -gt 0 ] || { echo "nothing to compare" >&2; exit 1; }

# build SOURCE BUILD: configures once and builds just the benchmarks to be run.
build() {
    if [ ! -f "$2/build.ninja" ]; then
        cmake -S "$1" -B "$2" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUARZEL_TESTS=OFF \
            > "$2.configure.log"
    fi
    nice cmake --build "$2" --target "${run_names[@]}" > "$2.build.log" ||
        { tail -n 30 "$2.build.log" >&2; echo "build failed: see $2.build.log" >&2; return 1; }
}

worktree=""
results=""
cleanup() {
    if [ -n "$worktree" ]; then
        git worktree remove --force "$worktree" 2> /dev/null || rm -rf "$worktree"
        git worktree prune
    fi
    [ -z "$results" ] || rm -rf "$results"
}
trap cleanup EXIT

# The old build: reused when every benchmark wanted is already there.
missing=0
for name in "${run_names[@]}"; do
    [ -n "$(find "$old_build" -name "$name" -type f -perm -u+x 2> /dev/null | head -n 1)" ] ||
        missing=1
done
if [ "$missing" = 1 ]; then
    # Always the same folder, which the build folder records as its source.
    worktree=$out/src-$short
    if [ -e "$worktree" ]; then  # left by an interrupted run
        git worktree remove --force "$worktree" 2> /dev/null || rm -rf "$worktree"
    fi
    git worktree prune
    echo "building $short in $old_build ..."
    git worktree add --detach --quiet "$worktree" "$commit"
    build "$worktree" "$old_build"
    git worktree remove --force "$worktree"
    worktree=""
fi
echo "building the working tree in $new_build ..."
build "$root" "$new_build"

program() {
    find "$1" -name "$2" -type f -perm -u+x | head -n 1
}

results=$(mktemp -d)
for ((round = 1; round <= rounds; round++)); do
    for name in "${run_names[@]}"; do
        for side in old new; do
            build_dir=$old_build
            [ "$side" = new ] && build_dir=$new_build
            echo "round $round/$rounds: $name ($side)" >&2
            # shellcheck disable=SC2086  # the arguments are words on purpose
            "$(program "$build_dir" "$name")" ${args[$name]} > "$results/$name.$side.$round" 2>&1 ||
                echo "(exit status $?)" >> "$results/$name.$side.$round"
        done
    done
done

dirty=""
[ -z "$(git status --porcelain --untracked-files=no)" ] || dirty=", with uncommitted changes"
for name in "${run_names[@]}"; do
    echo
    echo "==================== $name ${args[$name]}"
    for side in old new; do
        if [ "$side" = old ]; then
            echo "---- old: $short"
        else
            echo "---- new: working tree at $(git rev-parse --short HEAD)$dirty"
        fi
        for ((round = 1; round <= rounds; round++)); do
            sed "s/^/  round $round | /" "$results/$name.$side.$round"
        done
    done
done
