#!/usr/bin/env bash
# Draws the seven event sounds with sox into the folder given: short, quiet
# tones that tell the events apart without being in the way.
set -euo pipefail
out=$1
mkdir -p "$out"
tone() {  # file, then sox synth arguments
    local file=$1; shift
    sox -q -n -r 22050 -c 1 -b 16 "$out/$file" synth "$@" vol 0.4 fade q 0.005 -0 0.03
}
tone kbd.wav 0.04 square 1800
tone launch.wav 0.25 sine 440:880
tone paper.wav 0.12 pinknoise
tone menu.wav 0.08 sine 1320
tone start.wav 0.3 sine 660:990
tone start_as_admin.wav 0.4 sine 990:495
tone already_work.wav 0.15 sine 330 : synth 0.15 sine 330
