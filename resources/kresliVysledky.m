% kresliVysledky: plots a finished fit over frequency.
%
% Reads, from the current folder:
%   fitted.dat   one line per measured point: f [Hz], S measured, S model [Nm/rad],
%                D measured, D model [Nms/rad], separated by blanks
%   output2.dat  one fitted coefficient per line: 6 lines = c1 c2 c3 k1 k2 k3,
%                7 lines = c1 c2 c3 c4 k1 k2 k3, 8 lines = c1..c4 k1..k4
% Draws stiffness and damping (measured as markers, model as a line) on a logarithmic
% frequency axis and saves the figure as fitted.png, so a run without a screen still
% leaves the picture.
%
% Written for both MATLAB and GNU Octave: a plain script (no local functions, which the
% two place differently), '%' comments, single-quoted text, 'end' only.

missingHint = 'Run the optimization first ("Run optimization"), wait until it has finished, then plot again.';
badHint = 'The optimization may have failed or not finished yet: run it again, let it finish, then plot again.';

% A picture of an earlier fit must not pass for this one if this run fails.
if exist('fitted.png', 'file')
  delete('fitted.png');
end

% ---- fitted.dat: five numbers a line ----
fitName = 'fitted.dat';
fitFid = fopen(fitName, 'r');
if fitFid < 0
  error('kresliVysledky:missingFile', '%s', ['Cannot open "' fitName '" in ' pwd ...
        ': the file is missing or unreadable. ' missingHint]);
end
fitData = zeros(0, 5);
fitProblem = '';
fitLineNo = 0;
fitLine = fgetl(fitFid);
while ischar(fitLine)
  fitLineNo = fitLineNo + 1;
  fitLine = strtrim(fitLine);
  if ~isempty(fitLine)
    [fitValues, fitCount, fitErr, fitNext] = sscanf(fitLine, '%f');
    if fitCount ~= 5 || ~isempty(fitErr) || fitNext <= length(fitLine) ...
        || any(~isfinite(fitValues))
      fitProblem = sprintf('line %d is "%s", expected five numbers (f, S measured, S model, D measured, D model)', ...
                           fitLineNo, fitLine);
      break;
    end
    if fitValues(1) <= 0
      fitProblem = sprintf('line %d has the frequency %g, expected a positive frequency', ...
                           fitLineNo, fitValues(1));
      break;
    end
    fitData(end + 1, :) = fitValues(:)';
  end
  fitLine = fgetl(fitFid);
end
fclose(fitFid);
if isempty(fitProblem) && isempty(fitData)
  fitProblem = 'it holds no measured points';
end
if ~isempty(fitProblem)
  error('kresliVysledky:badFile', '%s', ['"' fitName '" in ' pwd ' cannot be plotted: ' ...
        fitProblem '. ' badHint]);
end

% ---- output2.dat: one coefficient a line ----
coefName = 'output2.dat';
coefFid = fopen(coefName, 'r');
if coefFid < 0
  error('kresliVysledky:missingFile', '%s', ['Cannot open "' coefName '" in ' pwd ...
        ': the file is missing or unreadable. ' missingHint]);
end
coefValues = zeros(0, 1);
coefProblem = '';
coefLineNo = 0;
coefLine = fgetl(coefFid);
while ischar(coefLine)
  coefLineNo = coefLineNo + 1;
  coefLine = strtrim(coefLine);
  if ~isempty(coefLine)
    [coefValue, coefCount, coefErr, coefNext] = sscanf(coefLine, '%f');
    if coefCount ~= 1 || ~isempty(coefErr) || coefNext <= length(coefLine) ...
        || ~isfinite(coefValue)
      coefProblem = sprintf('line %d is "%s", expected one number', coefLineNo, coefLine);
      break;
    end
    coefValues(end + 1, 1) = coefValue;
  end
  coefLine = fgetl(coefFid);
end
fclose(coefFid);
if isempty(coefProblem)
  if length(coefValues) == 6
    coefNames = {'c1', 'c2', 'c3', 'k1', 'k2', 'k3'};
  elseif length(coefValues) == 7
    coefNames = {'c1', 'c2', 'c3', 'c4', 'k1', 'k2', 'k3'};
  elseif length(coefValues) == 8
    coefNames = {'c1', 'c2', 'c3', 'c4', 'k1', 'k2', 'k3', 'k4'};
  else
    coefProblem = sprintf('it holds %d coefficients, expected 6, 7 or 8 (one a line)', ...
                          length(coefValues));
  end
end
if ~isempty(coefProblem)
  error('kresliVysledky:badFile', '%s', ['"' coefName '" in ' pwd ' cannot be plotted: ' ...
        coefProblem '. ' badHint]);
end

% ---- the coefficients as text: stiffness ones above, damping ones below ----
disp('Fitted coefficients (output2.dat):');
stiffText = '';
dampText = '';
for coefIndex = 1:length(coefValues)
  fprintf('  %s = %.10g\n', coefNames{coefIndex}, coefValues(coefIndex));
  coefItem = sprintf('%s = %.6g   ', coefNames{coefIndex}, coefValues(coefIndex));
  if coefNames{coefIndex}(1) == 'c'
    stiffText = [stiffText coefItem];
  else
    dampText = [dampText coefItem];
  end
end
stiffText = ['Stiffness S, fitted: ' strtrim(stiffText) '  [Nm/rad]'];
dampText = ['Damping D, fitted: ' strtrim(dampText) '  [Nms/rad]'];

% ---- the figure: 10 x 7.5 inches at 100 dpi, a 1000 x 750 pixel picture ----
fitFreq = fitData(:, 1);
[fitFreq, fitOrder] = sort(fitFreq);
fitData = fitData(fitOrder, :);
% The measured range with a small margin, not the whole decades around it.
plotRange = [fitFreq(1) / 1.15, fitFreq(end) * 1.15];
plotFigure = figure('Name', 'Fitted model', 'NumberTitle', 'off', 'Color', 'w');
set(plotFigure, 'PaperUnits', 'inches', 'PaperPositionMode', 'manual', ...
    'PaperPosition', [0 0 10 7.5]);

subplot(2, 1, 1);
semilogx(fitFreq, fitData(:, 2), 'o', fitFreq, fitData(:, 3), '-', 'LineWidth', 1.5);
grid on;
xlabel('Frequency f [Hz]');
ylabel('Stiffness S [Nm/rad]');
xlim(plotRange);
title(stiffText);
legend('measured', 'model', 'Location', 'southeast');

subplot(2, 1, 2);
semilogx(fitFreq, fitData(:, 4), 'o', fitFreq, fitData(:, 5), '-', 'LineWidth', 1.5);
grid on;
xlabel('Frequency f [Hz]');
ylabel('Damping D [Nms/rad]');
xlim(plotRange);
title(dampText);
legend('measured', 'model', 'Location', 'northeast');

print(plotFigure, '-dpng', '-r100', 'fitted.png');
disp(['Saved the figure as ' fullfile(pwd, 'fitted.png')]);
