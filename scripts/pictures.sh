#!/usr/bin/env bash
# Pictures of the payment window as an operator sees it: corvex-roads in a real X window under
# Xvfb, in the terminal's fonts and look, every page passed in English and in Russian. The four
# roads, and the roads a dead service, an unknown customer and an unknown BIK take, each at
# 800x600 and at 1024x768.
#   scripts/pictures.sh [OUT_DIR]        default: build/pictures/, one folder per road and size
# Builds what it needs in build/ first. A road that stops (the dead service, the unknown BIK)
# ends with a picture of the page it stopped on.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/deps.sh" xvfb xauth
build="$root/build"
out="${1:-$build/pictures}"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --parallel "$(nproc 2>/dev/null || echo 2)" --target corvexpay corvex-roads \
    >/dev/null
rm -rf "$out"
mkdir -p "$out"

# The unknown customer: the template road's phone is one the service has never seen, and the
# operator registers the customer with the new customer's data.
unknown="$out/unknown-customer.json"
python3 - "$build/share/corvexpay/terminal.json" "$unknown" <<'EOF'
import json, sys
terminal = json.load(open(sys.argv[1]))
roads = terminal["roads"]
roads["template"] = dict(roads["new-customer"], phone="9260000022")
json.dump(terminal, open(sys.argv[2], "w"), ensure_ascii=False, indent=1)
EOF
# The unknown BIK: the added template names a bank the service does not know.
bik="$out/unknown-bik.json"
sed 's/"044525225"/"044525000"/' "$build/share/corvexpay/terminal.json" >"$bik"

# A lost reply ends in seconds, not in a minute.
export CORVEX_REPLY_TIMEOUT=5
for size in 800x600 1024x768; do
    while read -r name road options; do
        # shellcheck disable=SC2086
        if xvfb-run -a -s "-screen 0 ${size}x24" env QT_QPA_PLATFORM=xcb \
            "$build/bin/corvex-roads" --road "$road" --screen "$size" \
            --screenshots "$out/$name-$size" $options >"$out/$name-$size.log" 2>&1; then
            result="paid"
        else
            result="stopped (exit $?)"
        fi
        echo "$name $size: $result, $(find "$out/$name-$size" -name '*.png' | wc -l) pictures in $out/$name-$size"
    done <<EOF
code code
template template
new-customer new-customer
add-template add-template
dead-service template --service ws://127.0.0.1:9
unknown-customer template --terminal $unknown
unknown-bik add-template --terminal $bik
EOF
done
