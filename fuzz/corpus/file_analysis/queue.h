/* queue.h - a bounded ring buffer of integers */
#ifndef QUEUE_H
#define QUEUE_H

#define QUEUE_CAPACITY 64

typedef struct queue {
    int items[QUEUE_CAPACITY];
    int head;
    int count;
} queue_t;

void queue_init(queue_t *q);
int queue_push(queue_t *q, int value);
int queue_pop(queue_t *q, int *value);

#endif /* QUEUE_H */
