#pragma once

// The one serial port of the process. Every operation returns 1 for success, 0 for failure.

// Opens port nId (1 = /dev/ttyS0, n = /dev/ttyS<n-1>): exclusive, raw, 115200 8N1,
// no flow control, queues flushed, DTR raised. Prints the French error message on failure.
int OpenCOM(int nId);
// The same for a device named by its path (/dev/ttyUSB0, a pseudo-terminal).
int OpenCOMDevice(const char* devicePath);
int CloseCOM();
// Returns within about 1 ms with whatever bytes arrived (possibly none).
int ReadCOM(void* buffer, int nBytesToRead, int* pBytesRead);
// Why the last failed ReadCOM failed, in words for the user.
const char* RaisonEchecLecture();
// Returns when every byte has been handed to the port.
int WriteCOM(void* buffer, int nBytesToWrite, int* pBytesWritten);
