// An intrusive circular doubly linked list: the head's next is the first
// entry and its prev the last; an empty list points to its own head. The
// list owns nothing; callers create and free the entries.
#include "boardutil/dl_list.h"

extern "C" void dl_list_init(struct dl_list *list) {
  list->next = list;
  list->prev = list;
}

extern "C" void dl_list_add(struct dl_list *list, struct dl_list *item) {
  item->next = list->next;
  item->prev = list;
  list->next->prev = item;
  list->next = item;
}

extern "C" void dl_list_add_tail(struct dl_list *list, struct dl_list *item) {
  dl_list_add(list->prev, item);
}

extern "C" void dl_list_del(struct dl_list *item) {
  item->next->prev = item->prev;
  item->prev->next = item->next;
  item->next = nullptr;
  item->prev = nullptr;
}

extern "C" int dl_list_empty(const struct dl_list *list) { return list->next == list ? 1 : 0; }

extern "C" unsigned dl_list_len(const struct dl_list *list) {
  unsigned count = 0;
  for (const struct dl_list *at = list->next; at != list; at = at->next) ++count;
  return count;
}
