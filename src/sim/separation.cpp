// The enemy separation over a whole crowd: every ship's in-order sum of the
// terms of all others, each pair's term computed once, in tiles of ships
// that a wavefront hands to the worker threads.
//
// Why these are the very bits of the plain sum. The plain steering of a
// node of ship k starts from its force sum F and adds separation_term(ck,
// cm) for m = 0, 1, ... (m != k) in ascending order, one rounding per
// addition. Here:
//  1. The term depends on the two centres alone, not on the node, so every
//     node of one ship adds the same terms in the same order. Nodes whose
//     sums start with the same bits therefore end with the same bits: one
//     sum per ship stands for all of them (the caller keeps a sum per node
//     only for ships whose nodes start differently).
//  2. The term of a pair is computed once, as separation_term(ce, cm) for
//     the lower index e, and gives the other way round reversed_term, which
//     is separation_term(cm, ce) bit for bit (see reversed_term).
//  3. The ships are cut into blocks of separation_block in index order.
//     Tile (I, J), I <= J, holds the pairs with one ship in block I and one
//     in block J. The sum of a ship in block I takes its terms block by
//     block, J = 0, 1, ...: from tile (J, I) while J < I, from the diagonal
//     tile, then from tile (I, J). Within a tile the ships' own terms are
//     added in ascending partner order, and the reversed terms row by row,
//     ascending too; in the diagonal tile each row first receives the
//     reversed terms of the rows before it, then adds its own. So every sum
//     adds exactly the plain sum's terms, in its order.
//  4. Tile (I, J) runs in wavefront step I + J. Block I meets its tiles in
//     steps I + 0, I + 1, ..., ascending with J as point 3 needs; and two
//     tiles of one step share no block (I + J = I' + J' with I < I' gives
//     J > J', and I = J' would make the tiles the same), so they write
//     disjoint sums and may run on any threads in any order. A step begins
//     only when every tile of the step before it has finished.
#include "sim/separation.h"

#include <algorithm>

#include "base/stop_request.h"
#include "base/workers.h"
#include "sim/isa.h"

namespace vorn {

namespace {

// F[0 .. N) += each term in order, the N sums kept in registers.
template <size_t N>
void add_block(vec2* F, const vec2* terms, size_t count) {
  vec2 f[N];
  for (size_t i = 0; i < N; ++i) f[i] = F[i];
  for (size_t j = 0; j < count; ++j) {
    const vec2 t = terms[j];
    for (size_t i = 0; i < N; ++i) f[i] = add(f[i], t);
  }
  for (size_t i = 0; i < N; ++i) F[i] = f[i];
}

// sums[i] += rows[i * width + j] for j ascending, for i < n: eight of the
// chains side by side so that their additions overlap.
void add_rows(vec2* sums, size_t n, const vec2* rows, size_t width) {
  constexpr size_t side = 8;
  size_t i = 0;
  for (; i + side <= n; i += side) {
    vec2 f[side];
    for (size_t r = 0; r < side; ++r) f[r] = sums[i + r];
    for (size_t j = 0; j < width; ++j) {
      for (size_t r = 0; r < side; ++r) f[r] = add(f[r], rows[(i + r) * width + j]);
    }
    for (size_t r = 0; r < side; ++r) sums[i + r] = f[r];
  }
  for (; i < n; ++i) {
    vec2 f = sums[i];
    for (size_t j = 0; j < width; ++j) f = add(f, rows[i * width + j]);
    sums[i] = f;
  }
}

struct crowd_job {
  separation_scratch* s;
  double strength;
  size_t ships;
  size_t blocks;
};

size_t block_begin(const crowd_job& c, size_t b) { return std::min(b * separation_block, c.ships); }

// Tile (I, J) of point 3, on one thread's scratch.
void run_tile(const crowd_job& c, size_t I, size_t J, int32_t participant) {
  separation_scratch& s = *c.s;
  const separation_kernels& k = *active_kernels;
  vec2* tile = s.tile[participant].data();
  vec2* back = s.back[participant].data();
  const size_t i0 = block_begin(c, I), i1 = block_begin(c, I + 1);
  const double* xs = s.centre_x.data();
  const double* ys = s.centre_y.data();
  vec2* sums = s.sums.data();
  if (I == J) {
    for (size_t e = i0; e < i1; ++e) {
      const size_t later = i1 - e - 1;
      k.row(vec2{xs[e], ys[e]}, xs + e + 1, ys + e + 1, later, c.strength, tile, back);
      add_rows(sums + e, 1, tile, later);
      k.add_each(sums + e + 1, back, later);
    }
    return;
  }
  const size_t j0 = block_begin(c, J), width = block_begin(c, J + 1) - j0;
  for (size_t e = i0; e < i1; ++e) {
    k.row(vec2{xs[e], ys[e]}, xs + j0, ys + j0, width, c.strength, tile + (e - i0) * width, back);
    k.add_each(sums + j0, back, width);
  }
  add_rows(sums + i0, i1 - i0, tile, width);
}

void run_wavefront(void* context, int32_t participant) {
  const crowd_job& c = *static_cast<const crowd_job*>(context);
  separation_scratch& s = *c.s;
  const size_t steps = 2 * c.blocks - 1;
  for (size_t t = 0; t < steps; ++t) {
    const size_t lo = t >= c.blocks ? t - (c.blocks - 1) : 0;
    const int32_t tiles = static_cast<int32_t>(t / 2 - lo + 1);
    for (;;) {
      const int32_t i = s.taken[t].fetch_add(1, std::memory_order_relaxed);
      if (i >= tiles) break;
      // A stop asked for abandons the frame: the tiles left are counted
      // done unrun, so that every thread comes out at once.
      if (!give_up_frame()) run_tile(c, lo + i, t - lo - i, participant);
      s.done[t].fetch_add(1, std::memory_order_release);
    }
    uint32_t spins = 0;
    while (s.done[t].load(std::memory_order_acquire) < tiles) spin_wait(spins);
  }
}

// Sizes the scratch for `blocks` blocks and `threads` threads; allocates
// only when either has grown.
void prepare(separation_scratch& s, size_t blocks, int32_t threads) {
  const size_t steps = 2 * blocks - 1;
  if (s.steps < steps) {
    s.taken = std::make_unique<std::atomic<int32_t>[]>(steps);
    s.done = std::make_unique<std::atomic<int32_t>[]>(steps);
    s.steps = steps;
  }
  for (size_t t = 0; t < steps; ++t) {
    s.taken[t].store(0, std::memory_order_relaxed);
    s.done[t].store(0, std::memory_order_relaxed);
  }
  if (s.tile.size() < static_cast<size_t>(threads)) {
    s.tile.resize(threads);
    s.back.resize(threads);
  }
  for (int32_t p = 0; p < threads; ++p) {
    s.tile[p].resize(separation_block * separation_block);
    s.back[p].resize(separation_block);
  }
}

}  // namespace

void separation_row(vec2 ck, const double* xs, const double* ys, size_t count, double strength, vec2* out,
                    vec2* back) {
  active_kernels->row(ck, xs, ys, count, strength, out, back);
}

void add_terms(vec2* F, size_t n, const vec2* terms, size_t count) {
  constexpr size_t widest = 8;
  size_t i = 0;
  for (; i + widest <= n; i += widest) add_block<widest>(F + i, terms, count);
  F += i;
  switch (n - i) {
    case 1: add_block<1>(F, terms, count); break;
    case 2: add_block<2>(F, terms, count); break;
    case 3: add_block<3>(F, terms, count); break;
    case 4: add_block<4>(F, terms, count); break;
    case 5: add_block<5>(F, terms, count); break;
    case 6: add_block<6>(F, terms, count); break;
    case 7: add_block<7>(F, terms, count); break;
    default: break;
  }
}

void add_separation(separation_scratch& s, double strength) {
  const size_t ships = s.centre_x.size();
  if (ships < 2) return;
  crowd_job c{&s, strength, ships, (ships + separation_block - 1) / separation_block};
  const bool threaded = ships >= crowd_threads && thread_count() > 1;
  prepare(s, c.blocks, threaded ? thread_count() : 1);
  if (threaded) {
    run_on_all_threads(run_wavefront, &c);
  } else {
    run_wavefront(&c, 0);
  }
}

}  // namespace vorn
