#!/usr/bin/env bash
# compare.sh <label> <zov command> <peer label> <peer command> [runs]
# Times a ZOV command and its peer side by side in one hyperfine run (warm-up, repeated runs;
# exit statuses are ignored, as zovrun ends every run with 1) and prints one line: label, both
# medians and the ratio zov/peer (below 1.0: ZOV is faster).
set -euo pipefail
label=$1; zov=$2; peer_label=$3; peer=$4; runs=${5:-10}
out=$(mktemp)
hyperfine -N -i --warmup 2 --runs "$runs" --export-json "$out" --command-name zov "$zov" \
  --command-name "$peer_label" "$peer" >/dev/null 2>&1 || hyperfine -i --warmup 2 --runs "$runs" \
  --export-json "$out" --command-name zov "$zov" --command-name "$peer_label" "$peer" >/dev/null
python3 - "$out" "$label" "$peer_label" <<'PY'
import json, sys
data = json.load(open(sys.argv[1]))["results"]
zov, peer = data[0]["median"], data[1]["median"]
print(f"{sys.argv[2]}: zov {zov*1000:.2f} ms, {sys.argv[3]} {peer*1000:.2f} ms, ratio {zov/peer:.2f}")
PY
rm -f "$out"
