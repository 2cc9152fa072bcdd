/* An intrusive circular doubly linked list: embed a struct dl_list in each
 * entry. The head's next is the first entry and its prev the last; an empty
 * list points to its own head. The list owns nothing: callers create and
 * free the entries. Library interface; no program of this tree uses it. */
#ifndef BOARDUTIL_DL_LIST_H
#define BOARDUTIL_DL_LIST_H

#ifdef __cplusplus
extern "C" {
#endif

struct dl_list {
  struct dl_list *next;
  struct dl_list *prev;
};

/* Makes list an empty list. */
void dl_list_init(struct dl_list *list);
/* Inserts item right after list (at the front when list is the head). */
void dl_list_add(struct dl_list *list, struct dl_list *item);
/* Inserts item right before list (at the back when list is the head). */
void dl_list_add_tail(struct dl_list *list, struct dl_list *item);
/* Unlinks item and clears its links. */
void dl_list_del(struct dl_list *item);
/* 1 when the list has no entries, else 0. */
int dl_list_empty(const struct dl_list *list);
/* The number of entries. */
unsigned dl_list_len(const struct dl_list *list);

#ifdef __cplusplus
}
#endif

#endif
