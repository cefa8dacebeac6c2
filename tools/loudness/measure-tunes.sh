#!/usr/bin/env bash
# Renders every tune with the game's soundfont at the game's synthesizer gain and measures it:
# the whole tune, each part alone, and how far the lead (a score's first part) stands over the
# rest of the band.
#   tools/loudness/measure-tunes.sh [BUILD_DIR] [GAIN] [TUNE...]   (TUNE: km3, sky02, ...)
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="${1:-$here/build}"
gain="${2:-$(grep -oP 'synthesizerGain = \K[0-9.]+' "$here/audio/sdl/SdlMusicDevice.cpp")}"
shift $(($# < 2 ? $# : 2))
scores=()
for tune in "$@"; do scores+=("$here/audio/tunes/$tune.score"); done
((${#scores[@]})) || scores=("$here"/audio/tunes/*.score)
soundfont=/usr/share/sounds/sf2/TimGM6mb.sf2
tunec="$build/tools/poronpa-tunec"
meter="$build/tools/poronpa-loudness"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

render() { fluidsynth -ni -q -F "$2" -r 44100 -g "$gain" "$soundfont" "$1" >/dev/null 2>&1; }

echo "synthesizer gain $gain"
for score in "${scores[@]}"; do
  name="$(basename "$score" .score)"
  mapfile -t parts < <("$tunec" --list-parts "$score")
  lead="${parts[0]}"
  rest="$(IFS=,; echo "${parts[*]:1}")"
  "$tunec" "$score" "$work/$name.mid" >/dev/null
  "$tunec" --parts "$lead" "$score" "$work/$name-$lead.mid" >/dev/null
  "$tunec" --parts "$rest" "$score" "$work/$name-band.mid" >/dev/null
  render "$work/$name.mid" "$work/$name.wav"
  render "$work/$name-$lead.mid" "$work/lead.wav"
  render "$work/$name-band.mid" "$work/band.wav"
  files=("$work/$name.wav")
  for part in "${parts[@]}"; do
    "$tunec" --parts "$part" "$score" "$work/$name.$part.mid" >/dev/null
    render "$work/$name.$part.mid" "$work/$name.$part.wav"
    files+=("$work/$name.$part.wav")
  done
  echo
  "$meter" "${files[@]}"
  echo -n "$name: $lead over the band: "
  "$meter" --lead "$work/lead.wav" "$work/band.wav"
done
