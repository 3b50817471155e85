// ‹¤’Êİ’è: »•i‚²‚Æ‚Ì’l‚Í‚±‚±‚ÅŒˆ‚ß‚é
#define VERSION_TEXT "1.2.0"
#define BUFFER_SIZE 4096
#define LOG_PREFIX "[tovi-demo] "
