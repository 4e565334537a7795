/* Start record for automated tests: a test under Wine learns that a program ran, and with
   which command line, without looking at the screen. */
#ifndef VORQ_SAMPLE_STARTED_LOG_H
#define VORQ_SAMPLE_STARTED_LOG_H

/* Appends the process's command line and CRLF to <VORQ_TEST_LOG>\<fileName> when the
   environment variable VORQ_TEST_LOG is set and not empty. Returns 1 when a line was
   written, 0 when the variable is not set or the write failed. */
int WriteStartedLog(const char *fileName);

#endif
