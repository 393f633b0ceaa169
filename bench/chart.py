"""Draws the throughput chart (MB/s per workload, intcalc against its peers and the floor) as SVG
from the figures compare.sh writes. Usage: chart.py results.json out.svg"""
import json
import math
import sys

from figures import cores  # the cores the run had, as the README says them

TOOLS = [  # drawing order within a workload, and colours
    ("intcalc", "#1f6fb4"),
    ("floor", "#9a9a9a"),
    ("mawk", "#e08a1e"),
    ("bc", "#3a9a3a"),
    ("python", "#b03a8c"),
]
LABELS = {"intcalc": "intcalc", "floor": "floor (read + count line feeds)", "mawk": "mawk '{print $1+0}'",
          "bc": "bc", "python": "python3 line evaluator"}


def main():
    results = json.load(open(sys.argv[1]))
    workloads = [(w, e) for w, e in results["workloads"].items() if e.get("tools")]
    if not workloads:
        sys.exit("chart.py: no wall-time figures in " + sys.argv[1])

    bar, gap, label_w, plot_w, top = 16, 18, 150, 560, 58
    rates = [t["mb_per_s"] for _, e in workloads for t in e["tools"].values()]
    lo = 10 ** math.floor(math.log10(min(rates)))
    hi = 10 ** math.floor(math.log10(max(rates)))
    hi *= next(m for m in (1, 2, 5, 10) if m * hi >= max(rates))  # room for the label, no empty decade

    def x(v):
        return label_w + plot_w * (math.log10(v) - math.log10(lo)) / (math.log10(hi) - math.log10(lo))

    rows = sum(len(e["tools"]) for _, e in workloads)
    height = top + rows * bar + len(workloads) * gap + 40 + 20 * len(TOOLS)
    width = label_w + plot_w + 90
    out = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" '
           f'font-family="sans-serif" font-size="12">',
           f'<rect width="{width}" height="{height}" fill="white"/>',
           f'<text x="{width / 2}" y="20" text-anchor="middle" font-size="15" font-weight="bold">'
           f'Throughput, MB/s (log scale; higher is better)</text>',
           f'<text x="{width / 2}" y="38" text-anchor="middle" fill="#555">{results["machine"]["model"]}, '
           f'{cores(results["machine"])}, {results["machine"]["date"]}; median of '
           f'{results["runs"]} runs; bc and python timed on {results["slice_mb"]:g} MB slices</text>']
    plot_bottom = top + rows * bar + len(workloads) * gap
    decade = lo
    while decade <= hi:
        out.append(f'<line x1="{x(decade):.1f}" y1="{top - 6}" x2="{x(decade):.1f}" y2="{plot_bottom}" '
                   f'stroke="#ddd"/>')
        out.append(f'<text x="{x(decade):.1f}" y="{plot_bottom + 14}" text-anchor="middle" fill="#555">'
                   f'{decade:g}</text>')
        decade *= 10

    y = top
    for w, e in workloads:
        tools = [(t, c) for t, c in TOOLS if t in e["tools"]]
        mid = y + len(tools) * bar / 2
        out.append(f'<text x="{label_w - 10}" y="{mid - 2:.1f}" text-anchor="end" font-weight="bold">{w}</text>')
        out.append(f'<text x="{label_w - 10}" y="{mid + 12:.1f}" text-anchor="end" fill="#555">'
                   f'{e["title"]}</text>')
        for t, colour in tools:
            v = e["tools"][t]["mb_per_s"]
            out.append(f'<rect x="{label_w}" y="{y + 1}" width="{max(x(v) - label_w, 1):.1f}" '
                       f'height="{bar - 2}" fill="{colour}"/>')
            out.append(f'<text x="{x(v) + 4:.1f}" y="{y + bar - 4}">{v:.1f}</text>')
            y += bar
        y += gap

    if x(decade / 10) < x(hi) - 20:
        out.append(f'<text x="{x(hi):.1f}" y="{plot_bottom + 14}" text-anchor="middle" fill="#555">{hi:g}</text>')
    y = plot_bottom + 34
    for t, colour in TOOLS:
        out.append(f'<rect x="{label_w}" y="{y - 10}" width="12" height="12" fill="{colour}"/>')
        out.append(f'<text x="{label_w + 18}" y="{y}">{LABELS[t]}</text>')
        y += 20
    out.append("</svg>")
    with open(sys.argv[2], "w") as f:
        f.write("\n".join(out) + "\n")


main()
