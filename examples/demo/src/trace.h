/* ƒƒO‚ÌÚ‚µ‚³: QUIET ‚ğ’è‹`‚·‚é‚Æ‰½‚ào‚³‚È‚¢ */
#ifndef QUIET
#define LOG_LEVEL 3
#else
#define LOG_LEVEL 0
#endif
#undef LOG_LEVEL
#define LOG_LEVEL 2
int log_level = LOG_LEVEL;
