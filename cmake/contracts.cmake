# What the programs and the files installed beside them must agree on, each set once here: the
# Linux project and the Windows project include this file before their project() call, the
# programs read the values from the header configured from platform/contracts.h.in, and the
# units, sysusers/tmpfiles entries, control scripts, manual page additions and the installer
# are configured from the same variables.

# The program's version: both projects' project(VERSION), the version line of the window and
# of --version, the package's and the installer's version.
set(SHAREMON_VERSION 1.3)
# The status service's socket, and the group whose members may use it.
set(SHAREMON_STATUS_SOCKET /run/sharemon/status.sock)
set(SHAREMON_STATUS_GROUP sharemon)
# The user the packaged headless polling runs as: its own group is the status group, so the
# polling may ask the status service.
set(SHAREMON_POLL_USER ${SHAREMON_STATUS_GROUP})
# The packaged polling's state directory (systemd's StateDirectory= names it relative to /var/lib).
set(SHAREMON_STATE_NAME sharemon)
set(SHAREMON_STATE_DIRECTORY /var/lib/${SHAREMON_STATE_NAME})
# Where --poll serves its metrics without --metrics: port 19922 lies outside the range the
# Prometheus exporters take (9100-9999).
set(SHAREMON_METRICS_ADDRESS 127.0.0.1:19922)

cmake_path(GET SHAREMON_STATUS_SOCKET PARENT_PATH SHAREMON_STATUS_DIRECTORY)
