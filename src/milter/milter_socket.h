#ifndef TAGSTRIP_MILTER_MILTER_SOCKET_H
#define TAGSTRIP_MILTER_MILTER_SOCKET_H

#include <string>
#include <sys/types.h>

// The file of a unix: or local: socket description; empty for inet: and inet6:.
std::string UnixSocketPath(const std::string& name);

// Clears the way for a Unix socket: a socket file nobody answers on, left by a milter
// that died, is removed; a file that is no socket, or a socket some process still
// listens on, is an error.
bool ClearStaleSocket(const std::string& path, std::string& error);

// Gives the socket file its mode and, when group is not empty, that group, so that the
// MTA's user can connect.
bool SetSocketAccess(const std::string& path, mode_t mode, const std::string& groupName, std::string& error);

#endif
