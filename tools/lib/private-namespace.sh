# Sourced by the checks that run a client against a service on port 80 and a
# virtual screen of their own.
#
# enter_private_namespace MARK COMMAND...
#   Unless the variable MARK is set, runs COMMAND again with MARK=1 in new
#   network and mount namespaces (as a mapped root when not root) and never
#   returns. Inside, it brings loopback up and gives the display sockets a
#   folder of their own: Xvfb replaces /tmp/.X11-unix/X<n> and removes it on
#   exit, so a desktop's display or a check beside this one with the same
#   number would lose its socket.
enter_private_namespace() {
  local mark=$1
  shift
  if [ -z "${!mark:-}" ]; then
    local ns=(unshare -n -m)
    [ "$(id -u)" -eq 0 ] || ns=(unshare -r -n -m)
    exec env "$mark=1" "${ns[@]}" -- "$@"
  fi
  ip link set lo up
  [ -d /tmp/.X11-unix ] || mkdir -m 1777 /tmp/.X11-unix
  mount -t tmpfs -o mode=1777 tmpfs /tmp/.X11-unix ||
    echo "warning: no private /tmp/.X11-unix here; the display socket is shared" >&2
}
