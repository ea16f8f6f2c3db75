"""Fits every model variant with the built-in engine and with SciPy, side by side.

For each variant, size and seed: a sweep is generated from the variant's sample coefficients
(resources/samples), the model file is built from the shipped template with tarvelin-batch,
and then
  - the engine's whole run is timed: `gams MaxwellOut.gms` as a process (start, read the model
    file, solve, write the results); its objective is read from MaxwellOut.lst;
  - SciPy's least_squares (method "trf", finite-difference Jacobian) is timed on the same
    formulation, data, bounds and start (scipy_fit.py), the fit alone.
Each time is the median of --repeat runs. Prints one row per case (with the engine's Ipopt
iterations and SciPy's function evaluations), then the ratios.
"""

import argparse
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
sys.path.insert(0, os.path.join(ROOT, "resources", "samples"))
sys.path.insert(0, HERE)

import generate_samples as samples  # noqa: E402
import scipy_fit  # noqa: E402

TEMPLATES = {"maxwell3": "Maxwell3.gms", "maxwell4": "Maxwell4.gms",
             "maxwell3spring": "Maxwell3Spring.gms", "kelvin3": "Maxwell3Kelvin.gms"}
TIME_TARGET = 0.2        # engine run / SciPy fit, at 300 points and more
OBJECTIVE_SLACK = 1e-3   # engine objective may exceed SciPy's by this fraction
OBJECTIVE_SHARE = 0.95   # of the cases


def limits(name):
    return samples.LOWER, samples.UPPER[name[0]]


def build_model_file(batch, folder, sample, data_file):
    args = [batch, "--variant", sample["variant"]]
    for name in samples.ORDER[sample["variant"]]:
        lower, upper = limits(name)
        args += ["--set", "%sin=%s" % (name, samples.typed(sample["start"][name])),
                 "--set", "%sd=%s" % (name, lower), "--set", "%su=%s" % (name, upper)]
    subprocess.run(args + [data_file], cwd=folder, check=True, stdout=subprocess.DEVNULL)


def listing_summary(folder):
    text = open(os.path.join(folder, "MaxwellOut.lst"), errors="replace").read()

    def field(label, convert):
        m = re.search(r"^(?:\*\*\*\*)? *%s\s+(\S+)" % label, text, re.MULTILINE)
        return convert(m.group(1)) if m else None
    return (field("MODEL STATUS", int), field("OBJECTIVE VALUE", float),
            field("ITERATION COUNT", int))


def run_engine(gams, folder, repeat):
    times = []
    for _ in range(repeat):
        began = time.perf_counter()
        done = subprocess.run([gams, "MaxwellOut.gms"], cwd=folder, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL)
        times.append(time.perf_counter() - began)
    status, objective, iterations = listing_summary(folder)
    return statistics.median(times), objective, status, done.returncode, iterations


def process_floor(gams, repeat=20):
    """The engine started and ended with nothing to do: what any run costs at least."""
    times = []
    for _ in range(repeat):
        began = time.perf_counter()
        subprocess.run([gams, "--version"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        times.append(time.perf_counter() - began)
    return statistics.median(times)


def run_scipy(sample, f, s, d, repeat):
    names = samples.ORDER[sample["variant"]]
    lower = {n: float(limits(n)[0]) for n in names}
    upper = {n: float(limits(n)[1]) for n in names}
    times, objective, evaluations = [], None, None
    for _ in range(repeat):
        _, objective, seconds, evaluations = scipy_fit.fit(sample["variant"], names, f, s, d,
                                                           sample["start"], lower, upper)
        times.append(seconds)
    return statistics.median(times), objective, evaluations


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build", help="the build folder (holds bin/ and bin/standins/)")
    parser.add_argument("--sizes", default="30,300,3000")
    parser.add_argument("--seeds", type=int, default=5)
    parser.add_argument("--repeat", type=int, default=3)
    parser.add_argument("--variants", default=",".join(TEMPLATES))
    opts = parser.parse_args()
    build = os.path.abspath(opts.build)  # the programs run in other folders
    gams = os.path.join(build, "bin", "standins", "gams")
    batch = os.path.join(build, "bin", "tarvelin-batch")
    for program in (gams, batch):
        if not os.access(program, os.X_OK):
            sys.exit("missing %s: build the 'benchmarks' target first" % program)
    sizes = [int(n) for n in opts.sizes.split(",")]
    wanted = opts.variants.split(",")

    rows = []
    print("%-15s %5s %4s %10s %10s %7s %14s %14s %4s %3s %5s %5s" % (
        "variant", "N", "seed", "engine s", "scipy s", "ratio", "engine z", "scipy z", "z ok",
        "ms", "iter", "nfev"))
    with tempfile.TemporaryDirectory(prefix="tarvelin-bench-") as work:
        for sample in samples.SAMPLES:
            variant = sample["variant"]
            if variant not in wanted:
                continue
            folder = os.path.join(work, variant)
            os.makedirs(folder)
            shutil.copy(os.path.join(ROOT, "resources", TEMPLATES[variant]), folder)
            for n in sizes:
                for seed in range(1, opts.seeds + 1):
                    freqs = samples.frequencies(n, sample["f_min"], sample["f_max"])
                    s, d = samples.measure(variant, sample["generating"], freqs,
                                           sample["noise"], seed)
                    data_file = os.path.join(folder, "data.txt")
                    with open(data_file, "w") as out:
                        out.write(samples.data_file_text(freqs, s, d))
                    # Both fitters see the values exactly as the data file holds them.
                    f, s, d = [[float("%.10g" % v) for v in b] for b in (freqs, s, d)]
                    build_model_file(batch, folder, sample, data_file)
                    e_time, e_z, status, code, iters = run_engine(gams, folder, opts.repeat)
                    s_time, s_z, nfev = run_scipy(sample, f, s, d, opts.repeat)
                    ok = e_z is not None and code == 0 and e_z <= s_z * (1 + OBJECTIVE_SLACK)
                    rows.append(dict(variant=variant, n=n, ratio=e_time / s_time, ok=ok))
                    print("%-15s %5d %4d %10.4f %10.4f %7.2f %14.8g %14.8g %4s %3s %5s %5d" % (
                        variant, n, seed, e_time, s_time, e_time / s_time,
                        e_z if e_z is not None else float("nan"), s_z, "yes" if ok else "NO",
                        status if status is not None else "-",
                        iters if iters is not None else "-", nfev), flush=True)
    report(rows, sizes)
    print("Engine process start and end alone (gams --version): %.4f s" % process_floor(gams))


def report(rows, sizes):
    print()
    print("Ratio engine run / SciPy fit (target <= %.2f at 300 points and more):" % TIME_TARGET)
    time_met = True
    for n in sizes:
        ratios = [r["ratio"] for r in rows if r["n"] == n]
        if not ratios:
            continue
        print("  N=%5d  median %.2f  worst %.2f  cases within target %d of %d" % (
            n, statistics.median(ratios), max(ratios), sum(x <= TIME_TARGET for x in ratios),
            len(ratios)))
        if n >= 300 and max(ratios) > TIME_TARGET:
            time_met = False
    for variant in dict.fromkeys(r["variant"] for r in rows):
        parts = ["N=%d %.2f" % (n, statistics.median(
            [r["ratio"] for r in rows if r["variant"] == variant and r["n"] == n]))
            for n in sizes]
        print("  %-15s median ratio: %s" % (variant, ", ".join(parts)))
    share = sum(r["ok"] for r in rows) / len(rows)
    print("Objective no worse than SciPy's (within %.1f%%): %d of %d cases (%.0f%%, target %.0f%%)"
          % (OBJECTIVE_SLACK * 100, sum(r["ok"] for r in rows), len(rows), share * 100,
             OBJECTIVE_SHARE * 100))
    print("Time target: %s. Objective target: %s." % (
        "met" if time_met else "MISSED", "met" if share >= OBJECTIVE_SHARE else "MISSED"))


if __name__ == "__main__":
    main()
