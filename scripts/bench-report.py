#!/usr/bin/env python3
"""Turns the benchmark results (Google Benchmark JSON) into report.md and the data and script
for gnuplot (bench.gp, which draws bench.png). Medians of CPU time; costs in ns per sample."""
import json
import math
import os
import re
import sys

PRESET_SWITCH_LIMIT_MS = 64 / 44.1  # one 64-sample block at 44.1 kHz
SHARED_CORE_LIMIT_MS = 20.0  # an audio thread that shares its core with a build


def load(path):
    with open(path) as file:
        document = json.load(file)
    medians, errors = {}, {}
    for run in document["benchmarks"]:
        name = run.get("run_name", run["name"])
        if run.get("error_occurred") or run.get("skipped"):
            errors[name] = run.get("error_message") or run.get("skip_message") or "skipped"
        elif run.get("run_type") == "aggregate" and run.get("aggregate_name") != "median":
            continue
        else:
            medians[name] = run
    return document.get("context", {}), medians, errors


def ns(run, counter="time_per_sample"):
    return run[counter] * 1e9


def ms(run):
    scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[run["time_unit"]]
    return run["cpu_time"] * scale


def linear_fit(points):
    """Least squares line through (x, y): slope, intercept and R squared."""
    n = len(points)
    mean_x = sum(x for x, _ in points) / n
    mean_y = sum(y for _, y in points) / n
    sxx = sum((x - mean_x) ** 2 for x, _ in points)
    sxy = sum((x - mean_x) * (y - mean_y) for x, y in points)
    slope = sxy / sxx
    intercept = mean_y - slope * mean_x
    total = sum((y - mean_y) ** 2 for _, y in points)
    residual = sum((y - intercept - slope * x) ** 2 for x, y in points)
    return slope, intercept, 1.0 - residual / total if total else 1.0


def series(medians, prefix, argument):
    points = []
    for name, run in medians.items():
        if name.startswith(prefix):
            points.append((int(name[len(prefix):]), ns(run)))
    return sorted(points)


def verdict(value, limit):
    return "met" if value <= limit else "NOT met"


def oversampling_section(medians):
    """Cost per factor of the high-gain sounds, and the samplers' share of it."""
    lines = []
    factors = [1, 2, 4, 8, 16]
    sounds = sorted({name.split("/")[1] for name in medians if name.startswith("perFactor/")})
    if not sounds:
        return lines
    lines += ["## Oversampling: cost per factor", "",
              "Through the plug-in, 512-sample blocks at 44.1 kHz, each sound packed from data/ with its factor "
              "changed; the samplers (up and down) alone per host sample, and their share of the graph's own "
              "cost at that factor (the sound's cost less theirs). Target: share at most 0.2.", "",
              "| factor | samplers ns | " + " | ".join(f"{s} ns | {s} share" for s in sounds) + " |",
              "|---:|---:|" + "---:|---:|" * len(sounds)]
    for factor in factors:
        sampler = medians.get(f"samplers/{factor}")
        cost = ns(sampler) if sampler else 0.0
        cells = [f"{cost:.2f}" if sampler else ""]
        for sound in sounds:
            run = medians.get(f"perFactor/{sound}/{factor}")
            if not run:
                cells += ["", ""]
                continue
            total = ns(run)
            share = cost / (total - cost) if sampler and total > cost else 0.0
            cells += [f"{total:.2f}", f"{share:.2f}" if sampler else ""]
        lines.append(f"| {factor} | " + " | ".join(cells) + " |")
    lines.append("")
    return lines


def aliasing_section(folder):
    """The aliasing table: off-harmonic level per sound, rate and tone (bench-aliasing.sh)."""
    lines = []
    path = os.path.join(folder, "aliasing.tsv")
    if not os.path.exists(path):
        return lines
    table = {}
    with open(path) as file:
        for row in file:
            fields = row.rstrip("\n").split("\t")
            if len(fields) >= 4:
                table.setdefault(fields[0], {})[(int(fields[1]), int(fields[2]))] = float(fields[3])
    columns = sorted({key for values in table.values() for key in values})
    lines += ["## Aliasing", "",
              "A -12 dBFS sine on a bin of a 65,536-point spectrum after a second of settling: the power on the "
              "bins that are no harmonic of it against the power on its harmonics, 20 Hz to 20 kHz, in dB. "
              "Targets for our sounds at 44.1 and 48 kHz: -70 at 1 kHz, -60 at 2.5 kHz; at 96 kHz no worse "
              "than at 44.1. Third-party effects (after ours) where installed.", "",
              "| sound | " + " | ".join(f"{rate / 1000:g} kHz, {tone / 1000:g} kHz" for rate, tone in columns) + " |",
              "|---|" + "---:|" * len(columns)]
    for sound, values in table.items():
        lines.append(f"| {sound} | " + " | ".join(f"{values[c]:.0f}" if c in values else "" for c in columns) + " |")
    lines.append("")
    return lines


def muff_cost(folder):
    """Guitarix's Muff in ns per sample from lv2bench.txt (bench-aliasing.sh), or None."""
    bench = os.path.join(folder, "lv2bench.txt")
    if not os.path.exists(bench):
        return None
    with open(bench) as file:
        for row in file:
            fields = row.split()
            if len(fields) == 2 and "muff" in fields[1]:
                return float(fields[0]) / 441000 * 1e9
    return None


def shipped_factor(description):
    """The oversampling factor a shipped description asks for (1 where it names none)."""
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", description)
    try:
        with open(path) as file:
            found = re.search(r'<torvix[^>]*\boversampling="([0-9]+)"', file.read())
    except OSError:
        return 1
    return int(found.group(1)) if found else 1


def samplers_share(medians, description, cost):
    """The samplers' cost at the description's factor against the rest of its cost, or None."""
    sampler = medians.get(f"samplers/{shipped_factor(description)}")
    return ns(sampler) / (cost - ns(sampler)) if sampler and cost > ns(sampler) else None


def report(context, medians, errors, folder):
    lines = ["# Benchmark report", ""]
    lines.append(f"Run {context.get('date', '')} on {context.get('num_cpus', '?')} CPUs at "
                 f"{context.get('mhz_per_cpu', '?')} MHz, load average "
                 f"{' '.join(f'{v:.1f}' for v in context.get('load_avg', []))}; medians of CPU time.")
    lines.append("")

    lines += ["## Cost per sample of every shipped description", "",
              "Through the host library, 512-sample blocks at 44.1 kHz, the same input for all; "
              "the third-party module per channel-sample. Target: every ratio below 1.", ""]
    soul = medians.get("perSample/thirdParty/SoulForce")
    muff = muff_cost(folder)
    if muff:
        lines += [f"Guitarix's Muff through lv2bench in the same run (512-frame blocks, 441,000 frames, wall "
                  f"clock): {muff:.1f} ns per sample. Target: every sound as shipped below it (reach for half); "
                  "sounds at factor 1 beside SoulForce as before.", ""]
    lines += ["The samplers' share: the samplers alone at the description's factor against the rest of its "
              "cost. Target: at most 0.2.", "",
              "| description | factor | ns per sample | ratio to SoulForce | ratio to Muff | samplers' share |",
              "|---|---:|---:|---:|---:|---:|"]
    bars = []
    for name, run in sorted(medians.items()):
        if not name.startswith("perSample/") or "thirdParty" in name:
            continue
        label = name[len("perSample/"):]
        cost = ns(run)
        bars.append((label, cost))
        to_soul = f"{cost / ns(soul):.2f}" if soul else ""
        to_muff = f"{cost / muff:.2f} ({verdict(cost / muff, 1.0)})" if muff else ""
        share = samplers_share(medians, label, cost)
        shown = f"{share:.2f} ({verdict(share, 0.2)})" if share is not None else ""
        lines.append(f"| {label} | {shipped_factor(label)} | {cost:.2f} | {to_soul} | {to_muff} | {shown} |")
    if soul:
        lines.append(f"| SoulForce (dpf-plugins-vst) | | {ns(soul):.2f} | 1.00 | | |")
        bars.append(("SoulForce", ns(soul)))
    else:
        message = errors.get("perSample/thirdParty/SoulForce", "not run")
        lines += ["", f"No comparison: {message}."]
    lines.append("")

    passes = series(medians, "cascadeBlock/passes:", "passes")
    floor = medians.get("sectionRecursionLatency")
    lines += ["## Equaliser cascade", ""]
    if passes and floor:
        cost = dict(passes)
        step = ns(floor)
        one, four, twenty = cost.get(1), cost.get(4), cost.get(20)
        lines += ["| measure | value | limit | |", "|---|---:|---:|---|"]
        lanes = int(medians["cascadeBlock/passes:1"].get("lanes", 4))
        wavefronts = math.ceil(20 / lanes)
        lines.append(f"| lanes of one wavefront on this machine | {lanes} | | |")
        lines.append(f"| latency of one wavefront step (the section's recursion) | {step:.2f} ns | | |")
        lines.append(f"| 1 pass | {one:.2f} ns = {one / step:.2f} steps | | |")
        lines.append(f"| 4 passes / 1 pass | {four / one:.2f} | 1.5 | {verdict(four / one, 1.5)} |")
        lines.append(f"| 20 passes / 1 pass | {twenty / one:.2f} | 6 | {verdict(twenty / one, 6.0)} |")
        full = cost.get(lanes)
        if full:
            lines.append(f"| {lanes} passes (one full wavefront) per step / step latency | {full / step:.2f} | 1 (floor) | |")
        lines.append(f"| 20 passes per wavefront step ({wavefronts} steps) / step latency "
                     f"| {twenty / wavefronts / step:.2f} | 1 (floor) | |")
        four_lanes = dict(series(medians, "cascadeBlockFourLanes/passes:", "passes"))
        if lanes > 4 and four_lanes.get(1) and four_lanes.get(20):
            base = four_lanes[1]
            lines.append(f"| four-lane form (SSE2): 4 / 1 pass, 20 / 1 pass | {four_lanes[4] / base:.2f}, "
                         f"{four_lanes[20] / base:.2f} | 1.5, 6 | {verdict(four_lanes[20] / base, 6.0)} |")
        slope, intercept, r2 = linear_fit(passes)
        lines.append(f"| growth per pass (1 to 20), fit R² | {slope:.2f} ns, {r2:.3f} | linear | |")
        lines.append("")

    limiter, chain = medians.get("clipperAveraging"), medians.get("runningSumLatency")
    lines += ["## Processors", "", "| measure | ns per sample | ratio | limit | |", "|---|---:|---:|---:|---|"]
    if limiter and chain:
        ratio = ns(limiter) / ns(chain)
        lines.append(f"| running sum's sub-add chain (latency floor) | {ns(chain):.2f} | | | |")
        lines.append(f"| averaging limiter, 100-sample window | {ns(limiter):.2f} | {ratio:.2f} | 1.2 | "
                     f"{verdict(ratio, 1.2)} |")
    for name, label in [("clipperHardClip", "hard clipper"), ("inverter", "inverter"), ("delayLine", "delay")]:
        if name in medians:
            lines.append(f"| {label} | {ns(medians[name]):.3f} | | | |")
    lines.append("")

    lines += ["## Loud, then ten seconds of silence", "",
              "| description | loud ns/sample | silent ns/sample | silent / loud | target ≤ 1 |", "|---|---:|---:|---:|---|"]
    for name, run in sorted(medians.items()):
        if name.startswith("loudThenSilence/"):
            label = name[len("loudThenSilence/"):].replace("/manual_time", "")
            ratio = run["silent_to_loud"]
            lines.append(f"| {label} | {ns(run, 'loud_per_sample'):.2f} | {ns(run, 'silent_per_sample'):.2f} | "
                         f"{ratio:.2f} | {verdict(ratio, 1.0)} |")
    lines.append("")

    lines += ["## Preset switching", "", f"Limit: one 64-sample block at 44.1 kHz, {PRESET_SWITCH_LIMIT_MS:.2f} ms.",
              "", "| description | ms | |", "|---|---:|---|"]
    for name, run in sorted(medians.items()):
        if name.startswith("presetSwitch/") and not name.startswith("presetSwitch/largest"):
            value = ms(run)
            lines.append(f"| {name[len('presetSwitch/'):]} | {value:.3f} | {verdict(value, PRESET_SWITCH_LIMIT_MS)} |")
    largest = [run for name, run in medians.items() if name.startswith("presetSwitch/largest")]
    if largest:
        lines.append(f"| largest the archive accepts ({largest[0].get('label', '')}) | {ms(largest[0]):.1f} | "
                     "reported beside |")
    lines.append("")

    picks = {name.split("/")[1]: run for name, run in medians.items() if name.startswith("presetPicks/")}
    if picks:
        lines += ["## Audio calls while another thread picks sounds", "",
                  "64-sample blocks at the pace of 44.1 kHz while a second thread picks a 20,000-node description "
                  "and a small one in turn, 50 ms apart, for three seconds; the longest call in wall-clock time.", "",
                  "| setting | longest call ms | calls over one block | blocks | picks | limit | |",
                  "|---|---:|---:|---:|---:|---:|---|"]
        settings = [("idleCore", "audio thread alone on its core", PRESET_SWITCH_LIMIT_MS),
                    ("sharedCore", "picks on the audio thread's core, the other core busy", SHARED_CORE_LIMIT_MS),
                    ("noPicks", "no picks (the large graph's own cost)", None)]
        for key, label, limit in settings:
            run = picks.get(key)
            if not run:
                continue
            longest = run["longest_call_ms"]
            judged = f"{limit:.2f} | {verdict(longest, limit)}" if limit else "| reported beside"
            lines.append(f"| {label} | {longest:.3f} | {run['late_calls']:.0f} | {run['blocks']:.0f} | "
                         f"{run['picks']:.0f} | {judged} |")
        lines.append("")

    nodes = series(medians, "runSyntheticGraph/nodes:", "nodes")
    if nodes:
        slope, intercept, r2 = linear_fit(nodes)
        lines += ["## Cost against graph size", "",
                  f"Synthetic descriptions of 2 to 40 nodes: {slope:.2f} ns per sample per node, "
                  f"{intercept:.2f} ns fixed, R² {r2:.3f} for a straight line.", ""]
    lines += oversampling_section(medians)
    lines += aliasing_section(folder)
    lines += ["Plot: bench.png", ""]
    return "\n".join(lines), bars, passes, nodes


def write_plot(folder, bars, passes, nodes):
    with open(os.path.join(folder, "descriptions.dat"), "w") as file:
        for label, cost in bars:
            file.write(f'"{label}" {cost:.4f}\n')
    for name, points in [("passes.dat", passes), ("nodes.dat", nodes)]:
        with open(os.path.join(folder, name), "w") as file:
            for x, y in points:
                file.write(f"{x} {y:.4f}\n")
    script = f"""set terminal pngcairo size 1500,480 font "Liberation Sans,10"
set output "{os.path.join(folder, 'bench.png')}"
set multiplot layout 1,3
set grid ytics
set ylabel "ns per sample"
set title "Per sample: shipped descriptions, SoulForce per channel-sample"
set style fill solid 0.6
set boxwidth 0.7
set xtics rotate by -30
set yrange [0:*]
plot "{os.path.join(folder, 'descriptions.dat')}" using 0:2:xtic(1) with boxes notitle
set xtics norotate
set title "Equaliser cascade against passes"
set xlabel "passes"
plot "{os.path.join(folder, 'passes.dat')}" using 1:2 with linespoints notitle
set title "Graph against nodes"
set xlabel "nodes"
plot "{os.path.join(folder, 'nodes.dat')}" using 1:2 with linespoints notitle
unset multiplot
"""
    with open(os.path.join(folder, "bench.gp"), "w") as file:
        file.write(script)


def main():
    source, folder = sys.argv[1], sys.argv[2]
    context, medians, errors = load(source)
    text, bars, passes, nodes = report(context, medians, errors, folder)
    with open(os.path.join(folder, "report.md"), "w") as file:
        file.write(text)
    write_plot(folder, bars, passes, nodes)
    print(text)


if __name__ == "__main__":
    main()
