#!/usr/bin/env bash
# Many workers, one shared output folder: GNU Parallel sends four shards of a 200-file batch over
# two ssh logins to a private sshd on 127.0.0.1, one worker is killed with SIGKILL mid-run, then the
# whole batch is dispatched again with --skip-existing. Afterwards every input must have exactly
# one complete output, nothing from the first run may have been replaced, no temporary file may be
# left, and the merged reports must end every input as converted or skipped.
#
# Usage: cluster_test.sh TALWYNWAV_CLI TALWYN_MAKE_CORPUS
# Needs openssh-server, openssh-client, parallel, procps and python3 (scripts/packages.txt).
set -euo pipefail

if (($# != 2)); then
  echo "usage: $0 TALWYNWAV_CLI TALWYN_MAKE_CORPUS" >&2
  exit 2
fi
cli=$(realpath "$1")
make_corpus=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
shards=4
files=200
# Each file about a second long: enough that a worker is still busy when it is killed.
seconds=1

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
# The kill missed its moment (two busy cores can hold the watcher back while the worker runs on):
# nothing was checked, and the whole scenario is worth one more go (see tests/CMakeLists.txt).
missed() {
  echo "MISSED: $*" >&2
  exit 3
}
step() { echo "== $*"; }

for tool in /usr/sbin/sshd ssh ssh-keygen parallel pgrep python3; do
  command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps.sh installs it)"
done

work=$(mktemp -d "${TMPDIR:-/tmp}/talwyn-cluster.XXXXXX")
sshd_pid=""
dispatch_pid=""
cleanup() {
  local status=$?
  set +e
  if [[ -n $dispatch_pid ]]; then
    kill "$dispatch_pid" 2>/dev/null
    wait "$dispatch_pid" 2>/dev/null
  fi
  # Workers of this test only: their command lines name this test's own folder.
  local pid
  for pid in $(pgrep -f -- "$work/" 2>/dev/null); do
    [[ $(readlink "/proc/$pid/exe" 2>/dev/null) == "$cli" ]] && kill -KILL "$pid" 2>/dev/null
  done
  if [[ -n $sshd_pid ]]; then
    kill "$sshd_pid" 2>/dev/null
    wait "$sshd_pid" 2>/dev/null
  fi
  rm -rf "$work"
  exit "$status"
}
trap cleanup EXIT

corpus=$work/corpus
list=$work/inputs.txt
out=$work/shared/out
reports=$work/reports
mkdir -p "$reports" "$work/ssh" "$work/shared"

step "making a corpus of $files WAV files"
"$make_corpus" "$corpus" "$files" "$seconds" || fail "talwyn-make-corpus failed"
find "$corpus" -type f -name '*.wav' | sort >"$list"
(($(wc -l <"$list") == files)) || fail "the corpus has $(wc -l <"$list") files, not $files"

# --- A private sshd on loopback, with its own keys --------------------------------------------
user=$(id -un)
ssh-keygen -q -t ed25519 -N '' -f "$work/ssh/host_key" -C talwyn-test-host
ssh-keygen -q -t ed25519 -N '' -f "$work/ssh/client_key" -C talwyn-test-client
cp "$work/ssh/client_key.pub" "$work/ssh/authorized_keys"
if [[ $(id -u) -eq 0 ]]; then
  # Root's sshd insists on its privilege separation folder.
  mkdir -p /run/sshd
  chmod 755 /run/sshd
fi

free_port() {
  python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}
ssh_options() {
  printf '%s ' -F none -p "$1" -i "$work/ssh/client_key" -o IdentitiesOnly=yes -o BatchMode=yes \
    -o StrictHostKeyChecking=no -o UserKnownHostsFile=/dev/null -o LogLevel=ERROR \
    -o ConnectTimeout=10
}

start_sshd() {
  local port=$1
  cat >"$work/ssh/sshd_config" <<EOF
Port $port
ListenAddress 127.0.0.1
HostKey $work/ssh/host_key
PidFile $work/ssh/sshd.pid
AuthorizedKeysFile $work/ssh/authorized_keys
PubkeyAuthentication yes
PasswordAuthentication no
KbdInteractiveAuthentication no
PermitRootLogin prohibit-password
UsePAM no
StrictModes no
MaxStartups 64:30:128
MaxSessions 64
LogLevel ERROR
EOF
  /usr/sbin/sshd -t -f "$work/ssh/sshd_config" || fail "sshd rejects its configuration"
  /usr/sbin/sshd -D -e -f "$work/ssh/sshd_config" 2>>"$work/ssh/sshd.log" &
  sshd_pid=$!
  local try
  for ((try = 0; try < 100; try++)); do
    # shellcheck disable=SC2046 # the options are words without blanks but for the key's path
    if ssh $(ssh_options "$port") "$user@127.0.0.1" true 2>>"$work/ssh/ssh.log"; then
      return 0
    fi
    kill -0 "$sshd_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill "$sshd_pid" 2>/dev/null || true
  wait "$sshd_pid" 2>/dev/null || true
  sshd_pid=""
  return 1
}

step "starting a private sshd on 127.0.0.1"
[[ $work != *[[:space:],]* ]] || fail "the temporary folder $work has blanks or commas; set TMPDIR"
port=""
for attempt in 1 2 3; do
  candidate=$(free_port)
  if start_sshd "$candidate"; then
    port=$candidate
    break
  fi
  echo "   sshd on port $candidate did not take a login (attempt $attempt)"
done
if [[ -z $port ]]; then
  cat "$work/ssh/sshd.log" "$work/ssh/ssh.log" >&2 || true
  fail "no login to the private sshd as $user (a locked account is refused without PAM)"
fi
echo "   sshd pid $sshd_pid on port $port, logins as $user"

options=$(ssh_options "$port")
{
  echo "2/ssh ${options}$user@127.0.0.1"
  echo "2/ssh -4 ${options}$user@localhost"
} >"$work/sshlogins"
# shellcheck disable=SC2086 # the options are meant to split
ssh -4 $options "$user@localhost" true 2>>"$work/ssh/ssh.log" ||
  fail "no login through localhost: $(cat "$work/ssh/ssh.log")"

mapfile -t shard_ids < <(seq 0 $((shards - 1)))
# Runs every shard over the two logins; RUN names the reports, the rest goes to each worker.
dispatch() {
  local run=$1
  shift
  parallel --will-cite -q --sshloginfile "$work/sshlogins" --joblog "$work/joblog-$run" \
    --tagstring "shard {}" \
    "$cli" convert --profile 3000 --jobs 1 --from-list "$list" --shard "{}/$shards" \
    --keep-structure --root "$corpus" --report "$reports/$run-{}.jsonl" "$@" -o "$out" \
    ::: "${shard_ids[@]}" >"$work/$run.log" 2>&1
}
# Exit statuses of the shards of one run, as "SHARD STATUS SIGNAL" lines.
job_statuses() {
  awk -F'\t' 'NR > 1 && match($9, /--shard [0-9]+\//) {
    print substr($9, RSTART + 8, RLENGTH - 9), $7, $8
  }' "$1"
}

# The shard of each input as the workers must see it: FNV-1a 64 of the path's bytes.
read -r -a shard_sizes <<<"$(python3 "$here/check_cluster.py" shard-sizes "$list" "$shards")"
victim=0
for ((k = 1; k < shards; k++)); do
  ((shard_sizes[k] > shard_sizes[victim])) && victim=$k
done
echo "   shard sizes ${shard_sizes[*]}; shard $victim will be killed"

# --- Run 1: four shards, one killed -------------------------------------------------------------
step "run 1: $shards shards over 2 logins into $out, killing shard $victim mid-run"
dispatch run1 &
dispatch_pid=$!
victim_report=$reports/run1-$victim.jsonl
# The worker is found as soon as it starts, so that killing it later costs no search.
worker=""
killed=""
for ((try = 0; try < 6000; try++)); do
  if [[ -z $worker ]]; then
    for pid in $(pgrep -f -- "--report $victim_report" || true); do
      [[ /proc/$pid/exe -ef $cli ]] && worker=$pid
    done
  fi
  # Builtins only from here to the kill: a fork can take long on two busy cores.
  done_count=0
  if [[ -f $victim_report ]]; then
    mapfile -t lines <"$victim_report"
    done_count=${#lines[@]}
  fi
  if ((done_count >= shard_sizes[victim])); then
    missed "shard $victim finished all its $done_count files before it could be killed"
  fi
  if [[ -n $worker ]] && ((done_count >= 5)); then
    [[ /proc/$worker/exe -ef $cli ]] ||
      missed "the worker of shard $victim (pid $worker) ended before it could be killed"
    kill -KILL "$worker"
    killed=$worker
    echo "   killed shard $victim (pid $worker) after $done_count of ${shard_sizes[victim]} files"
    break
  fi
  kill -0 "$dispatch_pid" 2>/dev/null || break
  sleep 0.02
done
[[ -n $killed ]] || missed "found no worker of shard $victim to kill; run 1 said: $(cat "$work/run1.log")"
run1_status=0
wait "$dispatch_pid" || run1_status=$?
dispatch_pid=""
echo "   parallel exit status $run1_status"
while read -r shard status signal; do
  if ((shard == victim)); then
    ((status != 0 || signal != 0)) ||
      fail "the killed shard $shard exited 0; run 1 said: $(cat "$work/run1.log")"
  elif ((status != 0 || signal != 0)); then
    fail "shard $shard exited $status (signal $signal) in run 1: $(cat "$work/run1.log")"
  fi
done < <(job_statuses "$work/joblog-run1")
(($(job_statuses "$work/joblog-run1" | wc -l) == shards)) ||
  fail "the run 1 job log does not have $shards jobs: $(cat "$work/joblog-run1")"
leftovers=$(find "$out" -name '.talwyn-*' | wc -l)
echo "   the killed worker reported $(wc -l <"$victim_report") inputs and left $leftovers hidden files"
python3 "$here/check_cluster.py" snapshot "$out" "$work/after-run1.json"

# --- Run 2: the same dispatch with --skip-existing ----------------------------------------------
step "run 2: the same $shards shards with --skip-existing"
run2_status=0
dispatch run2 --skip-existing || run2_status=$?
if ((run2_status != 0)); then
  fail "run 2 had $run2_status failed shards: $(cat "$work/run2.log")"
fi
echo "   every shard exited 0"

# --- What the two runs left ---------------------------------------------------------------------
step "checking outputs and reports"
python3 "$here/check_cluster.py" verify --cli "$cli" --list "$list" --corpus "$corpus" \
  --out "$out" --reports "$reports" --shards "$shards" --victim "$victim" \
  --snapshot "$work/after-run1.json" || fail "the outputs or reports are wrong (see above)"
echo "cluster test passed"
