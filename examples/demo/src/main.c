/* デモ: main.c は config.h を取り込み、製品版とデバッグ版を切り替える */
#include "config.h"
#define PRODUCT
#define GREETING "こんにちは、世界"

static char buffer[BUFFER_SIZE];

int main(void)
{
#ifdef PRODUCT
    /* 製品版: 余計な出力はしない */
    const char *mode = "product";
#else
    const char *mode = "debug";
#endif
    printf(LOG_PREFIX "%s %s\n", VERSION_TEXT, mode);
    printf("%s\n", GREETING);   // 文字列の中の "BUFFER_SIZE" は置き換わらない
    return sizeof buffer == BUFFER_SIZE ? 0 : 1;
}
