"""The fitting problem of the model templates, solved with SciPy's least_squares.

The same formulation as the templates: unknowns divided by cs (largest measured stiffness) and
ks (largest measured damping), residuals the relative errors of stiffness and damping, bounds
of magnitude 1E19 or more meaning no bound.
"""

import time

import numpy as np
from scipy.optimize import least_squares

NO_BOUND = 1e19


def _maxwell(u, v, wn):
    """Normalised stiffness and damping of Maxwell elements (u = c/cs, v = k/ks)."""
    s = np.zeros_like(wn)
    d = np.zeros_like(wn)
    for c, k in zip(u, v):
        wk2 = (wn * k) ** 2
        e = c * c + wk2
        s += c * wk2 / e
        d += c * c * k / e
    return s, d


def _kelvin(u, v, wn):
    a = np.zeros_like(wn)
    b = np.zeros_like(wn)
    for c, k in zip(u, v):
        e = c * c + (wn * k) ** 2
        a += c / e
        b += k / e
    m = a * a + (wn * b) ** 2
    return a / m, b / m


def normalised_model(variant, x, wn):
    if variant == "kelvin3":
        return _kelvin(x[:3], x[3:], wn)
    if variant == "maxwell3spring":
        s, d = _maxwell(x[:3], x[4:], wn)
        return s + x[3], d
    half = len(x) // 2
    return _maxwell(x[:half], x[half:], wn)


def fit(variant, names, f, stiffness, damping, start, lower, upper):
    """Fits from start within the bounds (dicts by coefficient name).

    Returns (coefficients by name, objective = sum of squared relative errors, seconds spent
    in least_squares alone, residual evaluations)."""
    f = np.asarray(f, dtype=float)
    stiffness = np.asarray(stiffness, dtype=float)
    damping = np.asarray(damping, dtype=float)
    cs = np.max(np.abs(stiffness))
    ks = np.max(np.abs(damping))
    wn = 2 * np.pi * f * ks / cs
    sn = stiffness / cs
    dn = damping / ks
    scale = np.array([cs if n.startswith("c") else ks for n in names])

    def bound(value, infinite):
        return infinite if abs(value) >= NO_BOUND else value

    lb = np.array([bound(lower[n], -np.inf) for n in names]) / scale
    ub = np.array([bound(upper[n], np.inf) for n in names]) / scale
    x0 = np.clip(np.array([start[n] for n in names]) / scale, lb, ub)

    def residuals(x):
        s, d = normalised_model(variant, x, wn)
        return np.concatenate([s / sn - 1.0, d / dn - 1.0])

    began = time.perf_counter()
    result = least_squares(residuals, x0, bounds=(lb, ub), method="trf")
    seconds = time.perf_counter() - began
    objective = float(np.sum(result.fun ** 2))
    coefficients = {n: float(v) for n, v in zip(names, result.x * scale)}
    return coefficients, objective, seconds, result.nfev
