#!/usr/bin/env bash
# Serves the game-exchange FTP account that correspondence games go through:
# user zvk1chess, password mq4tjv, its home a folder you name, holding www/
# with the five exchange folders (made here when missing).
#
#   scripts/exchange-server.sh <folder> [port] [interface]
#
# port defaults to 2121 (21 needs root), interface to every interface
# (0.0.0.0); passive data connections use ports the system picks, so open
# them in a firewall, or pass PASSIVE_PORTS=8000-8100 and open that range.
# Point Common/FtpHost.txt of every installation at <this host>:<port>.
# Stop the server with Ctrl+C; the games stay in the folder.
set -euo pipefail

if [[ $# -lt 1 || $# -gt 3 ]]; then
  echo "usage: $0 <folder> [port] [interface]" >&2
  exit 2
fi
folder=$1
port=${2:-2121}
interface=${3:-0.0.0.0}
if ! [[ $port =~ ^[0-9]+$ ]] || (( port < 1 || port > 65535 )); then
  echo "$0: port must be a number from 1 to 65535, not '$port'" >&2
  exit 2
fi

mkdir -p "$folder"/www/{games,offered,joined,closed,test}

# Debian's interpreter carries pyftpdlib (python3-pyftpdlib); another python3
# on the PATH may not.
python=/usr/bin/python3
if ! "$python" -c 'import pyftpdlib' 2>/dev/null; then
  echo "$0: pyftpdlib is missing; install it with: apt-get install python3-pyftpdlib" >&2
  exit 1
fi

args=(-i "$interface" -p "$port" -d "$folder" -u zvk1chess -P mq4tjv -w)
if [[ -n ${PASSIVE_PORTS:-} ]]; then args+=(-r "$PASSIVE_PORTS"); fi
echo "Game-exchange server on $interface:$port, games in $(cd "$folder" && pwd)/www"
exec "$python" -m pyftpdlib "${args[@]}"
