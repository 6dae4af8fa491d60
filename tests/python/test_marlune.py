"""The marlune module against the programs: the same runs, refusals and scores."""
import csv
import math
import os
import subprocess

import numpy as np
import pytest

import marlune

TABLES = os.environ["MARLUNE_TABLES_DIR"]
MARLUNE_RUN = os.environ["MARLUNE_RUN"]
MARLUNE_SCORE = os.environ["MARLUNE_SCORE"]
COLUMNS = ["pass", "centerX", "centerY", "heading", "steer", "speed", "left", "front", "right",
           "collisions", "distance"]


def table(name):
    return marlune.read_table(os.path.join(TABLES, name))


@pytest.mark.parametrize("name,seed", [("tuned.ifi", 42), ("example.ifi", 7), ("bounce.ifi", 1234)])
def test_a_run_equals_marlune_run_value_for_value(tmp_path, name, seed):
    trace = tmp_path / "trace.csv"
    subprocess.run([MARLUNE_RUN, "--table", os.path.join(TABLES, name), "--seed", str(seed),
                    "--passes", "1000", "--trace", str(trace)], check=True, capture_output=True)
    with open(trace, newline="") as f:
        rows = list(csv.DictReader(f))
    result = marlune.run(table(name), seed=seed, passes=1000)
    assert len(rows) == 1000 and result["summary"]["passes"] == 1000
    for column in COLUMNS:
        expected = [float(row[column]) for row in rows]  # 17 digits: the very doubles
        assert result["trace"][column].tolist() == expected, column
    assert result["summary"]["collisions"] == int(rows[-1]["collisions"])
    assert result["arena"].shape == (256, 256, 3) and result["arena"].dtype == np.uint8


def test_the_command_is_the_one_the_run_steered_by():
    # S1 and S6 at 0: the run's random sign draw leaves such a table unchanged.
    t = marlune.Table([0, -60, 0, -20, 60, 0, 20, 5], [0.5, 1, 1.5, 2, 1, 0.8, 2, 2.5])
    trace = marlune.run(t, seed=3, passes=400)["trace"]
    angle, speed = marlune.command(t, trace["left"], trace["front"], trace["right"])
    assert (angle * 0.017453292519943295).tolist() == trace["steer"].tolist()
    assert speed.tolist() == trace["speed"].tolist()
    angle, speed, degrees, truths = marlune.command(t, 12.0, [5.0, 40.0], 20.0, details=True)
    assert degrees.shape == (2, 3, 2) and truths.shape == (2, 8)
    assert np.allclose(truths.sum(axis=1), 1.0)


def test_refusals_are_the_programs_own_as_value_errors(tmp_path):
    short = tmp_path / "short.ifi"
    short.write_text("10 1\n20 2\n")
    with pytest.raises(ValueError, match="holds 4 readable numbers"):
        marlune.read_table(str(short))
    with pytest.raises(ValueError, match="cannot read"):
        marlune.read_table(str(tmp_path / "missing.ifi"))
    with pytest.raises(ValueError):
        marlune.Table([1, 2, 3], [1, 2, 3])
    with pytest.raises(ValueError):
        marlune.run(seed=1)


def test_a_table_saves_and_prints_its_sixteen_numbers(tmp_path):
    t = table("tuned.ifi")
    path = tmp_path / "copy.ifi"
    t.save(str(path))
    copy = marlune.read_table(str(path))
    assert copy.angles == t.angles and copy.speeds == t.speeds
    assert repr(t).count("S") == 8 and str(t.angles[0]) in repr(t)


def test_a_python_controller_that_drives_straight():
    result = marlune.run(controller=lambda left, front, right: (0.0, 1.0), seed=5, passes=40)
    trace = result["trace"]
    assert set(trace["heading"].tolist()) == {math.pi / 2}
    assert trace["centerX"].tolist() == [trace["centerX"][0]] * 40
    assert trace["centerY"][-1] > trace["centerY"][1]


def test_a_stepped_world_is_the_run_of_its_commands():
    world = marlune.World(11, table("tuned.ifi"))
    run = marlune.run(controller=lambda l, f, r: (10.0, 1.5), seed=11, passes=50)
    world.step(0.0, 0.0)  # the run's first pass moves nothing: no command yet
    for _ in range(49):
        world.step(10.0, 1.5)
    assert world.pose[:2] == (run["trace"]["centerX"][-1], run["trace"]["centerY"][-1])
    assert world.collisions == run["summary"]["collisions"]
    world.reset(11)
    assert world.collisions == 0


def test_score_gives_marlune_scores_figures(tmp_path):
    rows = tmp_path / "rows.csv"
    names = ["tuned.ifi", "example.ifi"]
    subprocess.run([MARLUNE_SCORE] + [os.path.join(TABLES, n) for n in names]
                   + ["--seeds", "1-4", "--passes", "400", "--csv", str(rows)], capture_output=True)
    with open(rows, newline="") as f:
        by_name = {os.path.basename(row["table"]): row for row in csv.DictReader(f)}
    figures = marlune.score([table(n) for n in names], seeds=range(1, 5), passes=400)
    for name, mine in zip(names, figures):
        theirs = by_name[name]
        assert mine["score"] == pytest.approx(float(theirs["score"]), rel=1e-15, abs=1e-15)
        assert mine["mean_speed"][0] == pytest.approx(float(theirs["speed_px_per_pass"]), rel=1e-15)
