/* queue.c - a bounded ring buffer of integers */
#include <stdio.h>
#include "queue.h"

/* Empties the queue. */
void queue_init(queue_t *q)
{
    q->head = 0;
    q->count = 0;
}

/* Appends a value; returns 0 when the queue is full. */
int queue_push(queue_t *q, int value)
{
    if (q->count == QUEUE_CAPACITY)
        return 0;
    q->items[(q->head + q->count) % QUEUE_CAPACITY] = value;
    q->count++;
    return 1;
}

/* Removes the oldest value; returns 0 when the queue is empty. */
int queue_pop(queue_t *q, int *value)
{
    if (q->count == 0) {
        return 0;
    }
    *value = q->items[q->head];
    q->head = (q->head + 1) % QUEUE_CAPACITY;
    q->count--;
    return 1;
}

int main(void)
{
    queue_t q;
    int v, i;

    queue_init(&q);
    for (i = 0; i < 5; i++) {
        queue_push(&q, i * i);
    }
    while (queue_pop(&q, &v)) {
        printf("%d\n", v);   // one value a line
    }
    return 0;
}
