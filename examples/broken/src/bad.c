/* #else ‚É‘Î‰ž‚·‚é #ifdef ‚ª‚È‚¢ */
#define DEBUG
int level = 1;
#else
int level = 0;
#endif
