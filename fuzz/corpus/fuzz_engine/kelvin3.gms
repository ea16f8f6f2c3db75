$title Three Kelvin elements in series, fitted to a measured frequency sweep
$ontext
Model: three Kelvin elements in series. Each element is a spring c (Nm/rad) in
parallel with a damper k (Nms/rad), with the complex stiffness c + i w k at the
angular frequency w = 2 pi f. In series their compliances (1 / stiffness) add:
with E = c^2 + w^2 k^2 for each element,
   A = sum of c / E        B = sum of k / E        (compliance 1/K = A - i w B)
   dynamic stiffness   A / (A^2 + w^2 B^2)
   damping             B / (A^2 + w^2 B^2)
The fit looks for c1 c2 c3 k1 k2 k3 that make the sum of the squared relative
errors of stiffness and damping over all measured points as small as possible,
starting from the initial values and staying within the limits typed in Tarvelin.
Relative errors make every decade of frequency count alike.
Results: output2.dat holds c1 c2 c3 k1 k2 k3, one a line; fitted.dat holds one
line per point: f, S measured, S model, D measured, D model.
$offtext
Set j 'measured points'
/ 1 * 30 /;
Parameter f(j) 'excitation frequency [Hz]'
/
1    5.00000000000000E-0001
2    5.86051148800000E-0001
3    6.86911897900000E-0001
4    8.05131013800000E-0001
5    9.43695911100000E-0001
6    1.10610814600000E+0000
7    1.29647189900000E+0000
8    1.51959769100000E+0000
9    1.78112394500000E+0000
10    2.08765946800000E+0000
11    2.44695045900000E+0000
12    2.86807625500000E+0000
13    3.36167876800000E+0000
14    3.94023140800000E+0000
15    4.61835428600000E+0000
16    5.41318366900000E+0000
17    6.34480501600000E+0000
18    7.43676053600000E+0000
19    8.71664411100000E+0000
20    1.02167985900000E+0001
21    1.19751331000000E+0001
22    1.40360810200000E+0001
23    1.64517228100000E+0001
24    1.92831021100000E+0001
25    2.26017682800000E+0001
26    2.64915845300000E+0001
27    3.10508470900000E+0001
28    3.63947692200000E+0001
29    4.26583926200000E+0001
30    5.00000000000000E+0001
/;
Parameter S(j) 'measured dynamic torsional stiffness [Nm/rad]'
/
1    3.57773954300000E+0004
2    3.63268116800000E+0004
3    3.63946096600000E+0004
4    3.71876301400000E+0004
5    3.75616464200000E+0004
6    3.80344951600000E+0004
7    3.93915857600000E+0004
8    4.12345854500000E+0004
9    4.25924447800000E+0004
10    4.46168155600000E+0004
11    4.67709325100000E+0004
12    4.93113707300000E+0004
13    5.29185987700000E+0004
14    5.55263682700000E+0004
15    5.93004575800000E+0004
16    6.13301593900000E+0004
17    6.45049493900000E+0004
18    6.68757661800000E+0004
19    6.92213230300000E+0004
20    7.22702035600000E+0004
21    7.45757841700000E+0004
22    7.80853342700000E+0004
23    8.28006748800000E+0004
24    8.68568681100000E+0004
25    9.30762788700000E+0004
26    1.00574114100000E+0005
27    1.09492172000000E+0005
28    1.19464676300000E+0005
29    1.30438687700000E+0005
30    1.42511160100000E+0005
/;
Parameter D(j) 'measured damping [Nms/rad]'
/
1    2.14347215000000E+0003
2    2.13046540100000E+0003
3    2.10439039500000E+0003
4    2.09787647500000E+0003
5    2.06179733300000E+0003
6    2.03610093400000E+0003
7    1.98703542900000E+0003
8    1.92354791400000E+0003
9    1.86067161300000E+0003
10    1.76270275600000E+0003
11    1.64915262300000E+0003
12    1.54737164100000E+0003
13    1.41245572700000E+0003
14    1.28762175300000E+0003
15    1.17485230500000E+0003
16    1.06112292600000E+0003
17    9.54126256200000E+0002
18    8.77536518300000E+0002
19    8.08078476000000E+0002
20    7.47636759000000E+0002
21    7.03628895500000E+0002
22    6.62424239700000E+0002
23    6.28156793200000E+0002
24    5.91874101500000E+0002
25    5.66572510800000E+0002
26    5.36061209800000E+0002
27    5.02302424600000E+0002
28    4.67707023600000E+0002
29    4.26637215900000E+0002
30    3.89763572300000E+0002
/;
* A point measured as zero has no relative error: correct or remove it.
loop(j, abort$(S(j) = 0) 'A stiffness value (second block of the data file) is zero';);
loop(j, abort$(D(j) = 0) 'A damping value (third block of the data file) is zero';);
Variables
   c1 'spring of element 1 [Nm/rad]',
   c2 'spring of element 2 [Nm/rad]',
   c3 'spring of element 3 [Nm/rad]',
   k1 'damper of element 1 [Nms/rad]',
   k2 'damper of element 2 [Nms/rad]',
   k3 'damper of element 3 [Nms/rad]',
   z  'sum of squared relative errors';
* Initial values, lower and upper limits as typed in Tarvelin.
c1.l =
1E7
;
c2.l =
-1E4
;
c3.l =
1E4
;
k1.l =
1E2
;
k2.l =
5E2
;
k3.l =
1.5E2
;
c1.lo =
-1E9
;
c2.lo =
-1E9
;
c3.lo =
-1E9
;
k1.lo =
-1E6
;
k2.lo =
-1E6
;
k3.lo =
-1E6
;
c1.up =
1E19
;
c2.up =
1E19
;
c3.up =
1E19
;
k1.up =
1E6
;
k2.up =
1E6
;
k3.up =
1E6
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
or more (in size) means no limit.
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
c1n.lo$(c1.lo <= -1E19) = -inf;  c1n.up$(c1.up >= 1E19) = inf;
c2n.lo$(c2.lo <= -1E19) = -inf;  c2n.up$(c2.up >= 1E19) = inf;
c3n.lo$(c3.lo <= -1E19) = -inf;  c3n.up$(c3.up >= 1E19) = inf;
k1n.lo$(k1.lo <= -1E19) = -inf;  k1n.up$(k1.up >= 1E19) = inf;
k2n.lo$(k2.lo <= -1E19) = -inf;  k2n.up$(k2.up >= 1E19) = inf;
k3n.lo$(k3.lo <= -1E19) = -inf;  k3n.up$(k3.up >= 1E19) = inf;
$ontext
In the units of the solver (c / cs, k / ks, frequency wn) the same formulas read
   e = c^2 + (wn k)^2,   a = sum of c / e,   b = sum of k / e,
   stiffness / cs = a / (a^2 + (wn b)^2),   damping / ks = b / (a^2 + (wn b)^2).
$offtext
Equation fitError 'sum of squared relative errors of stiffness and damping';
fitError.. z =e= sum(j,
     sqr((c1n/(sqr(c1n) + sqr(wn(j)*k1n)) + c2n/(sqr(c2n) + sqr(wn(j)*k2n))
            + c3n/(sqr(c3n) + sqr(wn(j)*k3n)))
         /(sqr(c1n/(sqr(c1n) + sqr(wn(j)*k1n)) + c2n/(sqr(c2n) + sqr(wn(j)*k2n))
               + c3n/(sqr(c3n) + sqr(wn(j)*k3n)))
           + sqr(wn(j)*(k1n/(sqr(c1n) + sqr(wn(j)*k1n)) + k2n/(sqr(c2n) + sqr(wn(j)*k2n))
                        + k3n/(sqr(c3n) + sqr(wn(j)*k3n)))))
         /Sn(j) - 1)
   + sqr((k1n/(sqr(c1n) + sqr(wn(j)*k1n)) + k2n/(sqr(c2n) + sqr(wn(j)*k2n))
            + k3n/(sqr(c3n) + sqr(wn(j)*k3n)))
         /(sqr(c1n/(sqr(c1n) + sqr(wn(j)*k1n)) + c2n/(sqr(c2n) + sqr(wn(j)*k2n))
               + c3n/(sqr(c3n) + sqr(wn(j)*k3n)))
           + sqr(wn(j)*(k1n/(sqr(c1n) + sqr(wn(j)*k1n)) + k2n/(sqr(c2n) + sqr(wn(j)*k2n))
                        + k3n/(sqr(c3n) + sqr(wn(j)*k3n)))))
         /Dn(j) - 1));
Model fit / all /;
option nlp=conopt;
solve fit using nlp minimizing z;
* The fitted coefficients in their units, and the model's stiffness and damping.
c1.l = c1n.l*cs;  c2.l = c2n.l*cs;  c3.l = c3n.l*cs;
k1.l = k1n.l*ks;  k2.l = k2n.l*ks;  k3.l = k3n.l*ks;
Parameters
   Jre(j)  'A: real part of the compliance [rad/Nm]',
   Jim(j)  'B: minus the imaginary part of the compliance over w [rad s/Nm]',
   Sfit(j) 'model stiffness [Nm/rad]',
   Dfit(j) 'model damping [Nms/rad]';
Jre(j) = c1.l/(sqr(c1.l) + sqr(w(j)*k1.l))
       + c2.l/(sqr(c2.l) + sqr(w(j)*k2.l))
       + c3.l/(sqr(c3.l) + sqr(w(j)*k3.l));
Jim(j) = k1.l/(sqr(c1.l) + sqr(w(j)*k1.l))
       + k2.l/(sqr(c2.l) + sqr(w(j)*k2.l))
       + k3.l/(sqr(c3.l) + sqr(w(j)*k3.l));
Sfit(j) = Jre(j)/(sqr(Jre(j)) + sqr(w(j)*Jim(j)));
Dfit(j) = Jim(j)/(sqr(Jre(j)) + sqr(w(j)*Jim(j)));
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
