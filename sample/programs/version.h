/* Version of the client release these stand-ins belong to; shared by the sources and the
   version blocks of both programs. */
#ifndef VORQ_SAMPLE_VERSION_H
#define VORQ_SAMPLE_VERSION_H

#define VORQ_VERSION_TEXT "5.71"
#define VORQ_VERSION_DOTTED "5.7.1.0"
#define VORQ_VERSION_NUMBERS 5, 7, 1, 0

#endif
