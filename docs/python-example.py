"""A run's path and the table's command surface, from Python (needs python3-matplotlib).

    PYTHONPATH=build/python python3 docs/python-example.py tables/tuned.ifi docs/python-example.png
"""
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt
import numpy as np

import marlune

table_path = sys.argv[1] if len(sys.argv) > 1 else "tables/tuned.ifi"
picture = sys.argv[2] if len(sys.argv) > 2 else "python-example.png"
table = marlune.read_table(table_path)

# One run, as marlune-run --seed 42 gives it: the arena is upright, y = 0 at the bottom.
run = marlune.run(table, seed=42, passes=3000)
trace = run["trace"]
hits = np.flatnonzero(np.diff(trace["collisions"], prepend=0) > 0)

# The command over left and right distances, the front halfway along the ramp.
left, right = np.meshgrid(np.linspace(0, 40, 161), np.linspace(0, 40, 161))
angle, speed = marlune.command(table, left, 15.0, right)

figure, (path, surface) = plt.subplots(1, 2, figsize=(11, 5), constrained_layout=True)
path.imshow(run["arena"], extent=(0, 256, 0, 256))
path.plot(trace["centerX"], trace["centerY"], lw=0.8, color="tab:blue")
path.plot(trace["centerX"][hits], trace["centerY"][hits], "o", mfc="none", color="red", label="collision")
summary = run["summary"]
path.set_title(f"seed 42: {summary['collisions']} collisions, {summary['mean_speed']:.2f} px/pass")
path.legend(loc="lower right")
shown = surface.pcolormesh(left, right, angle, cmap="coolwarm", shading="auto")
figure.colorbar(shown, ax=surface, label="angle (degrees, + turns left)")
surface.set_xlabel("left distance (px)")
surface.set_ylabel("right distance (px)")
surface.set_title("command angle, front at 15 px")
figure.savefig(picture, dpi=80)
print(f"{picture} written")
