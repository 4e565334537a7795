#include "greedy_tree.h"

#include "payload/huffman_model.h"

#include <algorithm>
#include <cstring>

namespace {

enum : unsigned {
  NIL = RING_SIZE,             // no node
  ROOTS = RING_SIZE + 1,       // roots[c] of the tree of suffixes beginning with byte c
  NODE_SLOTS = RING_SIZE + 257 // nodes by ring slot, then the 256 roots
};

struct Tree {
  const uint8_t *text; // the spaces standing for the pre-filled ring, then the input
  size_t textSize;
  size_t current; // the position being inserted
  unsigned smaller[NODE_SLOTS], larger[NODE_SLOTS], parent[NODE_SLOTS];
  unsigned matchLength, matchDistance;
  bool nearestOfEqual;
};

// Text position of a ring slot: the one within the window behind the current position.
inline size_t PositionOf(const Tree &tree, unsigned slot) {
  return tree.current - ((tree.current - slot) & (RING_SIZE - 1));
}

void InsertNode(Tree *tree, size_t position) {
  tree->current = position;
  const unsigned node = position & (RING_SIZE - 1);
  const uint8_t *key = tree->text + position;
  const unsigned limit =
      static_cast<unsigned>(std::min<size_t>(MAX_MATCH, tree->textSize - position));
  tree->smaller[node] = tree->larger[node] = NIL;
  tree->matchLength = 0;
  unsigned p = ROOTS + key[0];
  int order = 1;
  for (;;) {
    unsigned *next = order >= 0 ? &tree->larger[p] : &tree->smaller[p];
    if (*next == NIL) {
      *next = node;
      tree->parent[node] = p;
      return;
    }
    p = *next;
    const uint8_t *there = tree->text + PositionOf(*tree, p);
    unsigned length = 1;
    order = 0;
    while (length < limit && (order = key[length] - there[length]) == 0)
      ++length;
    if (length >= MIN_MATCH) {
      unsigned distance = static_cast<unsigned>(position - PositionOf(*tree, p) - 1);
      if (length > tree->matchLength) {
        tree->matchLength = length;
        tree->matchDistance = distance;
        if (length >= limit)
          break;
      } else if (tree->nearestOfEqual && length == tree->matchLength &&
                 distance < tree->matchDistance) {
        tree->matchDistance = distance;
      }
    }
  }
  // An identical suffix: the new node takes its place.
  tree->parent[node] = tree->parent[p];
  tree->smaller[node] = tree->smaller[p];
  tree->larger[node] = tree->larger[p];
  tree->parent[tree->smaller[p]] = node;
  tree->parent[tree->larger[p]] = node;
  if (tree->larger[tree->parent[p]] == p)
    tree->larger[tree->parent[p]] = node;
  else
    tree->smaller[tree->parent[p]] = node;
  tree->parent[p] = NIL;
}

void DeleteNode(Tree *tree, unsigned p) {
  if (tree->parent[p] == NIL)
    return;
  unsigned q;
  if (tree->larger[p] == NIL) {
    q = tree->smaller[p];
  } else if (tree->smaller[p] == NIL) {
    q = tree->larger[p];
  } else {
    q = tree->smaller[p];
    if (tree->larger[q] != NIL) {
      do
        q = tree->larger[q];
      while (tree->larger[q] != NIL);
      tree->larger[tree->parent[q]] = tree->smaller[q];
      tree->parent[tree->smaller[q]] = tree->parent[q];
      tree->smaller[q] = tree->smaller[p];
      tree->parent[tree->smaller[p]] = q;
    }
    tree->larger[q] = tree->larger[p];
    tree->parent[tree->larger[p]] = q;
  }
  tree->parent[q] = tree->parent[p];
  if (tree->larger[tree->parent[p]] == p)
    tree->larger[tree->parent[p]] = q;
  else
    tree->smaller[tree->parent[p]] = q;
  tree->parent[p] = NIL;
}

} // namespace

void GreedyTreeParse(const uint8_t *data, size_t size, std::vector<Token> *tokens,
                     bool nearestOfEqual) {
  tokens->clear();
  std::vector<uint8_t> text(MAX_MATCH + size, ' ');
  std::memcpy(text.data() + MAX_MATCH, data, size);
  static Tree tree;
  tree.text = text.data();
  tree.textSize = text.size();
  tree.nearestOfEqual = nearestOfEqual;
  for (unsigned k = 0; k < NODE_SLOTS; ++k)
    tree.smaller[k] = tree.larger[k] = tree.parent[k] = NIL;

  // The spaces in front are sources from the start, as in the decoder's ring.
  for (size_t q = 0; q < MAX_MATCH; ++q)
    InsertNode(&tree, q);
  size_t q = MAX_MATCH;
  InsertNode(&tree, q);
  while (q < text.size()) {
    Token token{static_cast<uint32_t>(q - MAX_MATCH), 1, 0};
    if (tree.matchLength >= MIN_MATCH) {
      token.length = static_cast<uint16_t>(tree.matchLength);
      token.distance = static_cast<uint16_t>(tree.matchDistance);
    }
    tokens->push_back(token);
    for (unsigned k = 0; k < token.length; ++k) {
      ++q;
      // Sources stay within the farthest distance the stream format allows.
      if (q >= MAX_DISTANCE + 2)
        DeleteNode(&tree, (q - MAX_DISTANCE - 2) & (RING_SIZE - 1));
      if (q < text.size())
        InsertNode(&tree, q);
    }
  }
}
