#!/usr/bin/env bash
# Mutation sample: applies the faults listed in scripts/mutants.txt one at a time, rebuilds the
# test programs, runs the fast tests and counts the faults they catch. The source file is always
# put back, also on Ctrl-C.
#   scripts/mutate.sh [build folder] [ctest regex]
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$root/build}")
tests=${2:-'^(cpu_tests|gl_tests|glow_area|e2e_test_startup)$'}
table=${MUTANTS:-$root/scripts/mutants.txt}
targets=(glorbit glorbit_tests glorbit_gl_tests glorbit_glow_tests)
trim() { local s=$1; s=${s#"${s%%[![:space:]]*}"}; printf '%s' "${s%"${s##*[![:space:]]}"}"; }

file="" saved=$(mktemp)
restore() { if [ -n "$file" ]; then cp "$saved" "$root/$file"; file=""; fi; }
trap 'restore; rm -f "$saved"' EXIT
trap 'exit 130' INT TERM

killed=0 survived=0 broken=0 n=0 survivors=()
while IFS=$'\t' read -r f from to; do
    f=$(trim "$f")
    [[ -z "$f" || "$f" == \#* ]] && continue
    from=$(trim "$from") to=$(trim "$to") n=$((n + 1))
    cp "$root/$f" "$saved"
    file=$f
    FROM=$from TO=$to perl -pi -e 's/\Q$ENV{FROM}\E/$ENV{TO}/' "$root/$f"
    if cmp -s "$saved" "$root/$f"; then
        result="not found"
    elif ! cmake --build "$build" -j2 --target "${targets[@]}" </dev/null >/dev/null 2>&1; then
        result="does not compile" broken=$((broken + 1))
    elif (cd "$build" && xvfb-run -a -s "-screen 0 1280x1024x24" ctest -R "$tests" --stop-on-failure \
              --timeout 300 </dev/null >/dev/null 2>&1); then
        result=SURVIVED survived=$((survived + 1)) survivors+=("$f: $from -> $to")
    else
        result=killed killed=$((killed + 1))
    fi
    restore
    printf '%2d %-16s %s: %s -> %s\n' "$n" "$result" "$f" "$from" "${to:-(deleted)}"
done < <(sed -e 's/ | /\t/g' -e 's/ |$/\t/' "$table")
cmake --build "$build" -j2 --target "${targets[@]}" >/dev/null 2>&1
echo "killed $killed of $((killed + survived)) compiling mutants ($((100 * killed / (killed + survived > 0 ? killed + survived : 1))) %), $broken did not compile"
for s in "${survivors[@]}"; do echo "  survived: $s"; done
