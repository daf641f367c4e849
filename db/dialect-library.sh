# Finds vldr_sqlite_ext.so for the scripts that build databases (sourced by
# db/build-db and db/index-db).

# Prints the folder given by a leading "--lib DIR" of the arguments, or nothing.
dialect_library_option() {
    if [ "${1:-}" = "--lib" ]; then
        [ $# -ge 2 ] || { echo "--lib needs a folder" >&2; exit 2; }
        echo "$2"
    fi
}

# Prints the path of vldr_sqlite_ext.so in folder $1, else in $VLDR_LIB_DIR,
# else in build/lib beside db/; fails with a message when it is not there.
dialect_library() {
    local dir=${1:-${VLDR_LIB_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/lib}}
    if [ ! -f "$dir/vldr_sqlite_ext.so" ]; then
        echo "$0: $dir/vldr_sqlite_ext.so not found (build the project, or give --lib DIR or VLDR_LIB_DIR)" >&2
        exit 1
    fi
    echo "$(cd "$dir" && pwd)/vldr_sqlite_ext.so"
}
