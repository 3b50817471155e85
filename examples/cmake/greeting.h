#define GREETING "Hello from greeting.h"
