#!/usr/bin/env bash
# Builds the benchmarks in Release (build-bench/), runs every one and prints one table:
#   path | project | baseline | ratio
# Each figure is the median of 5 repetitions. Times are CPU times, which a machine shared with
# other work disturbs less than wall time; the cold plug-in load is timed by its own child
# processes (wall time). Repaint rows count paint events instead of time.
# Extra arguments go to every benchmark program (for example --benchmark_filter=SetString).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="$root/build-bench"
benches=(bench_fixnumber bench_comission bench_details bench_form bench_sender bench_templates
    bench_load)

cmake_args=(-DCMAKE_BUILD_TYPE=Release -DCORVEX_BUILD_BENCH=ON -DCORVEX_BUILD_TESTS=OFF
    -DCORVEX_BUILD_DEMO=OFF)
if command -v ccache >/dev/null 2>&1; then
    cmake_args+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$root" -B "$build_dir" "${cmake_args[@]}" >/dev/null
cmake --build "$build_dir" --parallel "$(nproc 2>/dev/null || echo 2)" --target "${benches[@]}" \
    >/dev/null

export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
results="$build_dir/bench-results"
mkdir -p "$results"
for bench in "${benches[@]}"; do
    echo "running $bench" >&2
    "$build_dir/bench/$bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
        --benchmark_format=json --benchmark_out_format=json \
        --benchmark_out="$results/$bench.json" "$@" >/dev/null 2>"$results/$bench.log"
done

python3 - "$results" "${benches[@]}" <<'PY'
import json, os, re, sys

folder, benches = sys.argv[1], sys.argv[2:]
rows, order = {}, []
for bench in benches:
    with open(os.path.join(folder, bench + ".json")) as f:
        data = json.load(f)
    for run in data["benchmarks"]:
        if run.get("aggregate_name") != "median":
            continue
        name = run["run_name"]
        side = "project" if "/project" in name else "baseline" if "/baseline" in name else None
        if side is None:
            continue
        path = re.sub(r"/(project|baseline)", "", name)
        path = re.sub(r"/(iterations:\d+|manual_time)", "", path)
        if "paints" in run:
            value = (run["paints"], "paints")
        else:
            seconds = run["real_time" if "manual_time" in name else "cpu_time"]
            unit = run.get("time_unit", "ns")
            scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[unit]
            value = (seconds * scale, "s")
        if path not in rows:
            rows[path] = {}
            order.append(path)
        rows[path][side] = value

def shown(value):
    number, kind = value
    if kind == "paints":
        return "%.3g paints" % number
    for unit, scale in (("s", 1.0), ("ms", 1e-3), ("µs", 1e-6), ("ns", 1e-9)):
        if number >= scale:
            return "%.3g %s" % (number / scale, unit)
    return "%.3g ns" % (number / 1e-9)

print("| Path | Project | Baseline | Ratio |")
print("|---|---|---|---|")
for path in order:
    project, baseline = rows[path].get("project"), rows[path].get("baseline")
    if not project or not baseline:
        continue
    ratio = "%.2f" % (project[0] / baseline[0]) if baseline[0] > 0 else ("—" if project[0] == 0 else "∞")
    print("| %s | %s | %s | %s |" % (path, shown(project), shown(baseline), ratio))
PY
