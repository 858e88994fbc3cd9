#!/usr/bin/env bash
# Checks the include directions: the core includes nothing of the vision layer, the views or the
# plug-in; the vision layer nothing of the views or the plug-in; and inside the core a folder
# includes only folders below it, in the order (bottom first)
#   platform io | xml posix | parameters | controller | design | layout | driverfile | wizard |
#   transform | panel | document
# Folders on one rank may include each other. An arrow against the order fails, unless it is
# listed below as known (with what it waits for; none are left). Prints the count.
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A rank=([platform]=0 [io]=0 [xml]=1 [posix]=1 [parameters]=2 [controller]=3 [design]=4
                 [layout]=5 [driverfile]=6 [wizard]=7 [transform]=8 [panel]=9 [document]=10)

# Known arrows against the order: "from -> to: reason".
known=(
)
is_known() {
    local arrow=$1 entry
    [ ${#known[@]} -eq 0 ] && return 1
    for entry in "${known[@]}"; do
        [ "${entry%%:*}" = "$arrow" ] && return 0
    done
    return 1
}

violations=0
unexpected=0
declare -A seen=()
while IFS= read -r line; do
    file=${line%%:*}
    included=$(sed -E 's/.*#include "([^"]+)".*/\1/' <<<"${line#*:}")
    from=$(cut -d/ -f3 <<<"$file")
    case $included in
    vision/* | gui/* | plugin/*)
        echo "wrong include direction: $file includes $included (core -> ${included%%/*})" >&2
        violations=$((violations + 1))
        unexpected=$((unexpected + 1))
        continue
        ;;
    core/*) included=${included#core/} ;;
    *) continue ;;
    esac
    to=${included%%/*}
    [ -f "src/core/$included" ] || continue
    [ -n "${rank[$from]+x}" ] && [ -n "${rank[$to]+x}" ] || continue
    [ "${rank[$to]}" -le "${rank[$from]}" ] && continue
    arrow="$from -> $to"
    violations=$((violations + 1))
    if is_known "$arrow"; then
        seen[$arrow]=1
    else
        echo "wrong include direction: $file includes $included ($arrow)" >&2
        unexpected=$((unexpected + 1))
    fi
done < <(grep -rnE '^#include "[a-z]+/' src/core --include=*.h --include=*.cpp | sed -E 's/:[0-9]+:/:/')

# The vision layer stands between the core and the views.
while IFS= read -r line; do
    file=${line%%:*}
    included=$(sed -E 's/.*#include "([^"]+)".*/\1/' <<<"${line#*:}")
    echo "wrong include direction: $file includes $included (vision -> ${included%%/*})" >&2
    violations=$((violations + 1))
    unexpected=$((unexpected + 1))
done < <(grep -rnE '^#include "(gui|plugin)/' src/vision --include=*.h --include=*.cpp 2>/dev/null |
    sed -E 's/:[0-9]+:/:/')

for arrow in "${!seen[@]}"; do
    echo "known: $arrow"
done | sort
echo "include directions: $violations includes against the order, $unexpected not known"
[ "$unexpected" -eq 0 ]
