#!/usr/bin/env python3
"""Writes the sample measurement files, one per model variant, and samples.tsv.

Each sample is a frequency sweep computed from known coefficients with the variant's model,
then given seeded multiplicative Gaussian noise: every measured stiffness and damping value is
multiplied by (1 + noise * g), g drawn from the standard normal distribution by Python's
random.Random(seed). Frequencies are spaced evenly on a logarithmic axis.

samples.tsv records, per variant and coefficient: the generating value, the initial value and
the limits a user would type (stiffness and damping cannot be negative), and the standard error of the fitted coefficient expected from the noise
(linearised least squares: noise^2 (J^T J)^-1, J the Jacobian of the relative residuals), plus
the objective (sum of squared relative errors) at the generating coefficients.

Python 3 standard library only. Run from any folder: python3 generate_samples.py
"""

import math
import os
import random

# Coefficient order of each variant: the order of output2.dat.
ORDER = {
    "maxwell3": ["c1", "c2", "c3", "k1", "k2", "k3"],
    "maxwell4": ["c1", "c2", "c3", "c4", "k1", "k2", "k3", "k4"],
    "maxwell3spring": ["c1", "c2", "c3", "c4", "k1", "k2", "k3"],
    "kelvin3": ["c1", "c2", "c3", "k1", "k2", "k3"],
}

# Limits a user who knows that springs and dampers cannot be negative would type.
LOWER = "0"
UPPER = {"c": "1E19", "k": "1E6"}

# A rubber coupling's torsional sweep: relaxation times k/c spread over the measured band.
SAMPLES = [
    dict(variant="maxwell3", file="maxwell3.txt", points=40, f_min=0.5, f_max=50.0,
         noise=0.005, seed=31,
         generating=dict(c1=4.0e6, c2=6.0e5, c3=1.5e5, k1=6.0e3, k2=9.0e3, k3=2.25e4),
         start=dict(c1=5e6, c2=5e5, c3=1e5, k1=5e3, k2=1e4, k3=2e4)),
    dict(variant="maxwell4", file="maxwell4.txt", points=60, f_min=0.1, f_max=100.0,
         noise=0.002, seed=41,
         generating=dict(c1=4.0e6, c2=8.0e5, c3=2.0e5, c4=5.0e4,
                         k1=4.0e3, k2=8.0e3, k3=2.0e4, k4=5.0e4),
         start=dict(c1=5e6, c2=1e6, c3=1e5, c4=1e4, k1=5e3, k2=1e4, k3=1e4, k4=1e5)),
    dict(variant="maxwell3spring", file="maxwell3spring.txt", points=36, f_min=0.5,
         f_max=50.0, noise=0.005, seed=35,
         generating=dict(c1=3.0e6, c2=5.0e5, c3=1.0e5, c4=2.0e4, k1=4.5e3, k2=7.5e3, k3=1.5e4),
         start=dict(c1=1e6, c2=1e5, c3=1e5, c4=1e4, k1=1e3, k2=1e4, k3=1e4)),
    dict(variant="kelvin3", file="kelvin3.txt", points=30, f_min=0.5, f_max=50.0,
         noise=0.005, seed=33,
         generating=dict(c1=3.0e5, c2=1.2e5, c3=6.0e4, k1=1.5e2, k2=1.2e3, k3=6.0e3),
         start=dict(c1=5e5, c2=1e5, c3=5e4, k1=1e2, k2=1e3, k3=1e4)),
]


def maxwell(cs, ks, spring, w):
    """Stiffness and damping of Maxwell elements (c, k pairs) and a parallel spring."""
    stiffness, damping = spring, 0.0
    for c, k in zip(cs, ks):
        e = c * c + (w * k) ** 2
        stiffness += c * (w * k) ** 2 / e
        damping += c * c * k / e
    return stiffness, damping


def kelvin(cs, ks, w):
    """Stiffness and damping of Kelvin elements in series: their compliances add."""
    a = b = 0.0
    for c, k in zip(cs, ks):
        e = c * c + (w * k) ** 2
        a += c / e
        b += w * k / e
    m = a * a + b * b
    return a / m, b / w / m


def model(variant, coeffs, f):
    """(stiffness [Nm/rad], damping [Nms/rad]) of a variant at the frequency f [Hz]."""
    w = 2.0 * math.pi * f
    cs = [coeffs[n] for n in ("c1", "c2", "c3", "c4") if n in coeffs]
    ks = [coeffs[n] for n in ("k1", "k2", "k3", "k4") if n in coeffs]
    if variant == "kelvin3":
        return kelvin(cs, ks, w)
    if variant == "maxwell3spring":
        return maxwell(cs[:3], ks, cs[3], w)
    return maxwell(cs, ks, 0.0, w)


def frequencies(points, f_min, f_max):
    return [f_min * (f_max / f_min) ** (i / (points - 1)) for i in range(points)]


def measure(variant, coeffs, freqs, noise, seed):
    """Model values with the seeded multiplicative noise: lists S and D."""
    rng = random.Random(seed)
    stiffness, damping = [], []
    for f in freqs:
        s, d = model(variant, coeffs, f)
        stiffness.append(s * (1.0 + noise * rng.gauss(0.0, 1.0)))
        damping.append(d * (1.0 + noise * rng.gauss(0.0, 1.0)))
    return stiffness, damping


def objective(variant, coeffs, freqs, stiffness, damping):
    """Sum of the squared relative errors of stiffness and damping."""
    total = 0.0
    for f, s, d in zip(freqs, stiffness, damping):
        ms, md = model(variant, coeffs, f)
        total += (ms / s - 1.0) ** 2 + (md / d - 1.0) ** 2
    return total


def standard_errors(variant, coeffs, freqs, noise):
    """Expected standard error of each coefficient, relative to its value."""
    names = ORDER[variant]
    base = [v for f in freqs for v in model(variant, coeffs, f)]
    columns = []
    for n in names:
        # Central differences in the relative change of one coefficient.
        h = 1e-6
        up, down = dict(coeffs), dict(coeffs)
        up[n] *= 1 + h
        down[n] *= 1 - h
        vu = [v for f in freqs for v in model(variant, up, f)]
        vd = [v for f in freqs for v in model(variant, down, f)]
        columns.append([(a - b) / (2 * h) / m for a, b, m in zip(vu, vd, base)])
    p = len(names)
    normal = [[sum(x * y for x, y in zip(columns[r], columns[c])) for c in range(p)]
              for r in range(p)]
    inverse = invert(normal)
    return {n: noise * math.sqrt(inverse[i][i]) for i, n in enumerate(names)}


def invert(m):
    """Gauss-Jordan inverse with partial pivoting."""
    n = len(m)
    a = [row[:] + [1.0 if i == j else 0.0 for j in range(n)] for i, row in enumerate(m)]
    for col in range(n):
        pivot = max(range(col, n), key=lambda r: abs(a[r][col]))
        a[col], a[pivot] = a[pivot], a[col]
        div = a[col][col]
        a[col] = [x / div for x in a[col]]
        for r in range(n):
            if r != col and a[r][col] != 0.0:
                factor = a[r][col]
                a[r] = [x - factor * y for x, y in zip(a[r], a[col])]
    return [row[n:] for row in a]


def typed(value):
    """A value as a user types it: 5E6, 1.5E2."""
    mantissa, exponent = ("%.6e" % value).split("e")
    return "%sE%d" % (mantissa.rstrip("0").rstrip("."), int(exponent))


def data_file_text(freqs, stiffness, damping):
    """Three blocks (f, S, D), one number a line, separated by one empty line."""
    blocks = ["\n".join("%.10g" % v for v in block) for block in (freqs, stiffness, damping)]
    return "\n\n".join(blocks) + "\n"


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    rows = ["variant\tfile\tpoints\tf_min\tf_max\tnoise\tseed\tobjective\t"
            "coefficient\tgenerating\tstart\tlower\tupper\trelative_standard_error"]
    for sample in SAMPLES:
        variant = sample["variant"]
        freqs = frequencies(sample["points"], sample["f_min"], sample["f_max"])
        stiffness, damping = measure(variant, sample["generating"], freqs, sample["noise"],
                                     sample["seed"])
        # The objective as the data file holds the values (10 significant digits).
        read_back = [[float("%.10g" % v) for v in b] for b in (freqs, stiffness, damping)]
        z = objective(variant, sample["generating"], *read_back)
        errors = standard_errors(variant, sample["generating"], freqs, sample["noise"])
        with open(os.path.join(here, sample["file"]), "w", newline="\n") as out:
            out.write(data_file_text(freqs, stiffness, damping))
        for n in ORDER[variant]:
            rows.append("\t".join([
                variant, sample["file"], str(sample["points"]), "%g" % sample["f_min"],
                "%g" % sample["f_max"], "%g" % sample["noise"], str(sample["seed"]),
                "%.10g" % z, n, "%.10g" % sample["generating"][n], typed(sample["start"][n]), LOWER, UPPER[n[0]],
                "%.4g" % errors[n]]))
    with open(os.path.join(here, "samples.tsv"), "w", newline="\n") as out:
        out.write("\n".join(rows) + "\n")


if __name__ == "__main__":
    main()
