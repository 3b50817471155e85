#define ANSWER 42
int answer = ANSWER;
