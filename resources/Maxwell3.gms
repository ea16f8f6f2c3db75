$title Three Maxwell elements in parallel, fitted to a measured frequency sweep
$ontext
Model: three Maxwell elements in parallel. Each element is a spring c (Nm/rad) in
series with a damper k (Nms/rad). At the angular frequency w = 2 pi f, with
E = c^2 + w^2 k^2, one element gives
   dynamic stiffness   c w^2 k^2 / E
   damping             c^2 k / E
and the model's stiffness and damping are the sums over the three elements.

The fit looks for c1 c2 c3 k1 k2 k3 that make the sum of the squared relative
errors of stiffness and damping over all measured points as small as possible,
starting from the initial values and staying within the limits typed in Tarvelin.
Relative errors make every decade of frequency count alike.

Results: output2.dat holds c1 c2 c3 k1 k2 k3, one a line; fitted.dat holds one
line per point: f, S measured, S model, D measured, D model.
$offtext

Set j 'measured points'
#

Parameter f(j) 'excitation frequency [Hz]'
/
@
/;
Parameter S(j) 'measured dynamic torsional stiffness [Nm/rad]'
/
@
/;
Parameter D(j) 'measured damping [Nms/rad]'
/
@
/;

* A point measured as zero has no relative error: correct or remove it.
loop(j, abort$(S(j) = 0) 'A measured stiffness (second block of the data file) is zero: correct or remove that point';);
loop(j, abort$(D(j) = 0) 'A measured damping (third block of the data file) is zero: correct or remove that point';);

Variables
   c1 'stiffness of element 1 [Nm/rad]',
   c2 'stiffness of element 2 [Nm/rad]',
   c3 'stiffness of element 3 [Nm/rad]',
   k1 'damping of element 1 [Nms/rad]',
   k2 'damping of element 2 [Nms/rad]',
   k3 'damping of element 3 [Nms/rad]',
   z  'sum of squared relative errors';

* Initial values, lower and upper limits as typed in Tarvelin.
c1.l =
_A
;
c2.l =
_B
;
c3.l =
_C
;
k1.l =
_E
;
k2.l =
_F
;
k3.l =
_G
;
c1.lo =
_I
;
c2.lo =
_J
;
c3.lo =
_K
;
k1.lo =
_M
;
k2.lo =
_N
;
k3.lo =
_O
;
c1.up =
_Q
;
c2.up =
_R
;
c3.up =
_S
;
k1.up =
_U
;
k2.up =
_V
;
k3.up =
_W
;

abort$(c1.lo > c1.up) 'c1: the lower limit is above the upper limit';
abort$(c2.lo > c2.up) 'c2: the lower limit is above the upper limit';
abort$(c3.lo > c3.up) 'c3: the lower limit is above the upper limit';
abort$(k1.lo > k1.up) 'k1: the lower limit is above the upper limit';
abort$(k2.lo > k2.up) 'k2: the lower limit is above the upper limit';
abort$(k3.lo > k3.up) 'k3: the lower limit is above the upper limit';

$ontext
The solver works on the coefficients divided by a typical size taken from the
measurement: cs, the largest stiffness, for c1 c2 c3, and ks, the largest damping,
for k1 k2 k3. Stiffness and damping coefficients then are all of order one, and
the fit converges from rough initial values whatever the units. A limit of 1E19
or more in size means no limit: it goes to the solver as 1E19, not divided.
$offtext
Scalars
   cs 'typical stiffness [Nm/rad]',
   ks 'typical damping [Nms/rad]';
cs = smax(j, abs(S(j)));
ks = smax(j, abs(D(j)));

Parameters
   w(j)  'angular frequency [rad/s]',
   wn(j) 'angular frequency times ks / cs',
   Sn(j) 'measured stiffness / cs',
   Dn(j) 'measured damping / ks';
w(j)  = 2*pi*f(j);
wn(j) = w(j)*ks/cs;
Sn(j) = S(j)/cs;
Dn(j) = D(j)/ks;

Variables c1n, c2n, c3n 'c / cs', k1n, k2n, k3n 'k / ks';
c1n.l = c1.l/cs;  c1n.lo = c1.lo/cs;  c1n.up = c1.up/cs;
c2n.l = c2.l/cs;  c2n.lo = c2.lo/cs;  c2n.up = c2.up/cs;
c3n.l = c3.l/cs;  c3n.lo = c3.lo/cs;  c3n.up = c3.up/cs;
k1n.l = k1.l/ks;  k1n.lo = k1.lo/ks;  k1n.up = k1.up/ks;
k2n.l = k2.l/ks;  k2n.lo = k2.lo/ks;  k2n.up = k2.up/ks;
k3n.l = k3.l/ks;  k3n.lo = k3.lo/ks;  k3n.up = k3.up/ks;
c1n.lo$(c1.lo <= -1E19) = -1E19;  c1n.up$(c1.up >= 1E19) = 1E19;
c2n.lo$(c2.lo <= -1E19) = -1E19;  c2n.up$(c2.up >= 1E19) = 1E19;
c3n.lo$(c3.lo <= -1E19) = -1E19;  c3n.up$(c3.up >= 1E19) = 1E19;
k1n.lo$(k1.lo <= -1E19) = -1E19;  k1n.up$(k1.up >= 1E19) = 1E19;
k2n.lo$(k2.lo <= -1E19) = -1E19;  k2n.up$(k2.up >= 1E19) = 1E19;
k3n.lo$(k3.lo <= -1E19) = -1E19;  k3n.up$(k3.up >= 1E19) = 1E19;

Equation fitError 'sum of squared relative errors of stiffness and damping';
fitError.. z =e= sum(j,
     sqr((c1n*sqr(wn(j)*k1n)/(sqr(c1n) + sqr(wn(j)*k1n))
        + c2n*sqr(wn(j)*k2n)/(sqr(c2n) + sqr(wn(j)*k2n))
        + c3n*sqr(wn(j)*k3n)/(sqr(c3n) + sqr(wn(j)*k3n)))/Sn(j) - 1)
   + sqr((sqr(c1n)*k1n/(sqr(c1n) + sqr(wn(j)*k1n))
        + sqr(c2n)*k2n/(sqr(c2n) + sqr(wn(j)*k2n))
        + sqr(c3n)*k3n/(sqr(c3n) + sqr(wn(j)*k3n)))/Dn(j) - 1));

Model fit / all /;
_Z
solve fit using nlp minimizing z;

* The fitted coefficients in their units, and the model's stiffness and damping.
c1.l = c1n.l*cs;  c2.l = c2n.l*cs;  c3.l = c3n.l*cs;
k1.l = k1n.l*ks;  k2.l = k2n.l*ks;  k3.l = k3n.l*ks;
Parameters
   Sfit(j) 'model stiffness [Nm/rad]',
   Dfit(j) 'model damping [Nms/rad]';
Sfit(j) = c1.l*sqr(w(j)*k1.l)/(sqr(c1.l) + sqr(w(j)*k1.l))
        + c2.l*sqr(w(j)*k2.l)/(sqr(c2.l) + sqr(w(j)*k2.l))
        + c3.l*sqr(w(j)*k3.l)/(sqr(c3.l) + sqr(w(j)*k3.l));
Dfit(j) = sqr(c1.l)*k1.l/(sqr(c1.l) + sqr(w(j)*k1.l))
        + sqr(c2.l)*k2.l/(sqr(c2.l) + sqr(w(j)*k2.l))
        + sqr(c3.l)*k3.l/(sqr(c3.l) + sqr(w(j)*k3.l));
display fit.modelstat, fit.solvestat, z.l;

* Scientific notation with 13 significant digits, as narrow as the number.
File results / 'output2.dat' /;
results.nr = 2;
put results;
put c1.l:0:12 /;
put c2.l:0:12 /;
put c3.l:0:12 /;
put k1.l:0:12 /;
put k2.l:0:12 /;
put k3.l:0:12 /;
putclose results;

File curves / 'fitted.dat' /;
curves.nr = 2;
put curves;
loop(j, put f(j):0:10, ' ', S(j):0:10, ' ', Sfit(j):0:10, ' ', D(j):0:10, ' ', Dfit(j):0:10 /;);
putclose curves;
